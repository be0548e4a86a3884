// What the user does with a meeting item: clicks select its row and ask for
// the detail bubble, the context menu and the meeting button hand the meeting
// to the main frame.
#include <utility>

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
    // Waits for the frame's ViewMeetingDetail (valid meetings) and EditMeeting
    // (a meeting the list no longer holds), which come with the meeting list view.
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
    ::SetForegroundWindow(m_hWnd);
    const UINT command = PopupMenu::Track(popup, kMenuTrackFlags, at.x - 3, at.y + 3, m_hWnd);
    if (command) ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(LOWORD(command), 0), 0);
}

LRESULT CItemWnd::OnMtgButton(WORD, WORD, HWND, BOOL&) {
    CAutoFunTrace trace("CItemWnd::OnMtgButton");
    IFrameServices* const frame = m_frame;
    if (!frame) return 0;
    const LONG meetingService = m_meeting.m_nServiceType == MeetingService::Meeting ? TRUE : FALSE;
    if (m_meeting.m_bCrossSite) {
        // Waits for the frame's ViewMeetingDetail(key, TRUE, start): a meeting
        // of another site opens on its detail page.
        return 0;
    }
    if (ButtonText() == JoinCaption()) {
        if (m_meeting.m_nServiceType == MeetingService::Event) {
            // Waits for the frame's ViewMeetingDetail(key, TRUE, start): events
            // are joined from their page.
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
    // Waits for the frame's EditMeeting(key, not-"OI", start).
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
    // Waits for the frame's ViewMeetingDetail(key, not-"OI", start).
    return 0;
}
