// What the user does with a meeting item: clicks select its row and ask for
// the detail bubble, the context menu and the meeting button hand the meeting
// to the main frame.
#include "VelEvents.h"
#include "ComHolders.h"
#include "ModuleState.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "ItemWnd.h"
#include "HostEvents.h"
#include "PopupMenu.h"

namespace {
CStringEx JoinCaption() {
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), CItemWnd::kJoinString);
    return text;
}

BOOL NotFromOI(const CMeetingRecord& meeting) {
    return meeting.m_nScheduleSource != ScheduleSource::OI ? TRUE : FALSE;
}
}  // namespace

void CItemWnd::ShowBubble() {
    if (!m_hWnd) return;
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    FireHostEvent(VelEvent::ShowBubble, reinterpret_cast<INT_PTR>(&rect), m_meeting.m_nIndex,
                  reinterpret_cast<INT_PTR>(m_hWnd));
}

void CItemWnd::SelectRow() {
    ApplyBackgroundToButtons(kHighlightTop);
    HWND parent = ::GetParent(m_hWnd);
    HWND dayView = parent ? ::GetParent(parent) : nullptr;
    if (dayView) ::SendMessageW(dayView, kHighlightRowMessage, static_cast<WPARAM>(m_nRowIndex), 0);
}

LRESULT CItemWnd::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    SelectRow();
    ShowBubble();
    return 0;
}

LRESULT CItemWnd::OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnLButtonDblClk");
    DefaultAction();
    return 0;
}

LRESULT CItemWnd::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnRButtonDown");
    SelectRow();
    CreatePopupMenu();
    return 0;
}

void CItemWnd::DefaultAction() {
    if (!m_frame) return;
    const Bstr key(m_meeting.m_strKey.str());
    // A meeting the list no longer holds can only be edited.
    if (m_meeting.m_bValid)
        m_frame->ViewMeetingDetail(key.get(), NotFromOI(m_meeting), m_meeting.m_dtStart);
    else
        m_frame->EditMeeting(key.get(), NotFromOI(m_meeting), m_meeting.m_dtStart);
}

BOOL CItemWnd::PreTranslateMessage(MSG* msg) {
    if (!msg || !IsWindow() || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

void CItemWnd::CreatePopupMenu() {
    CAutoFunTrace trace("CItemWnd::CreatePopupMenu");
    if (!m_hWnd) return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    POINT at{};
    if (!::GetCursorPos(&at) || !::PtInRect(&window, at))
        at = {(window.left + window.right) / 2, (window.top + window.bottom) / 2};

    UniqueHmenu menu(::LoadMenuW(ModuleState::ResourceInstance(), MAKEINTRESOURCEW(kMenu)));
    HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) {
        TraceError("CItemWnd::CreatePopupMenu LoadMenu Fail");
        return;
    }
    // A meeting the list no longer holds can be edited but has no details to view.
    ::DeleteMenu(popup, m_meeting.m_bValid ? kCmdEditItem : kCmdViewDetail, MF_BYCOMMAND);
    CFlatMenu flat(popup, kMenuHighlight);
    if (m_frame) {
        int image = -1;
        if (HIMAGELIST images = m_frame->CommandImage(kCmdEditItem, &image)) flat.SetEntryImage(kCmdEditItem, images, image);
    }
    ::SetForegroundWindow(m_hWnd);
    const UINT command = flat.Track(kMenuTrackFlags, at.x - 3, at.y + 3, m_hWnd);
    if (command) ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(LOWORD(command), 0), 0);
}

LRESULT CItemWnd::OnMtgButton(WORD, WORD, HWND, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnMtgButton");
    IFrameServices* const frame = m_frame;
    if (!frame) return 0;
    const LONG meetingService = m_meeting.m_nServiceType == MeetingService::Meeting ? TRUE : FALSE;
    // A meeting of another site, and an event to join, open on their detail page.
    if (m_meeting.m_bCrossSite) {
        frame->ViewMeetingDetail(Bstr(m_meeting.m_strKey.str()).get(), TRUE, m_meeting.m_dtStart);
        return 0;
    }
    if (ButtonText() == JoinCaption()) {
        if (m_meeting.m_nServiceType == MeetingService::Event) {
            frame->ViewMeetingDetail(Bstr(m_meeting.m_strKey.str()).get(), TRUE, m_meeting.m_dtStart);
            return 0;
        }
        frame->JoinMeeting(Bstr(m_meeting.m_strKey.str()).get(), Bstr(m_meeting.m_strConfKey.str()).get(),
                           Bstr(m_meeting.m_strPassword.str()).get(), Bstr(m_meeting.m_strSiteUrl.str()).get(),
                           meetingService, m_meeting.m_bPasswordRequired);
        return 0;
    }
    frame->StartMeeting(Bstr(m_meeting.m_strKey.str()).get(), Bstr(m_meeting.m_strConfKey.str()).get(),
                        Bstr(m_meeting.m_strTopic.str()).get(), meetingService);
    return 0;
}

LRESULT CItemWnd::OnEditItem(WORD, WORD, HWND, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnEditItem");
    if (m_frame)
        m_frame->EditMeeting(Bstr(m_meeting.m_strKey.str()).get(), NotFromOI(m_meeting), m_meeting.m_dtStart);
    return 0;
}

LRESULT CItemWnd::OnOpenInfo(WORD, WORD, HWND, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnOpenInfo");
    ShowBubble();
    return 0;
}

LRESULT CItemWnd::OnAddZorvan(WORD, WORD, HWND, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnAddZorvan");
    // The frame's add operation (with the entry id) has no effect in this
    // system, so nothing is handed on.
    return 0;
}

LRESULT CItemWnd::OnViewDetail(WORD, WORD, HWND, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnViewDetail");
    if (m_frame)
        m_frame->ViewMeetingDetail(Bstr(m_meeting.m_strKey.str()).get(), NotFromOI(m_meeting), m_meeting.m_dtStart);
    return 0;
}

LRESULT CItemWnd::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = CFlatMenu::OnMeasureItem(m_hWnd, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    return handled;
}

LRESULT CItemWnd::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = CFlatMenu::OnDrawItem(m_hWnd, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return handled;
}

LRESULT CItemWnd::OnDrawMenuEntry(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    // The item's menu keeps the toolkit's look: its picture column and the
    // menu's highlight colour under the chosen entry.
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(wParam);
    if (!draw) return FALSE;
    CFlatMenu::DrawEntryBackground(*draw, message == CFlatMenu::kDrawSelectedEntryMessage,
                                   static_cast<COLORREF>(lParam));
    return TRUE;
}
