// The meetings window inside the frame: the command bar in a rebar, the
// meeting list view below it, the frame's place on screen, the sign-in flow
// that brings them up, and the command-bar menu's state.
#include "MainFrame.h"

#include <commctrl.h>

#include "ComHolders.h"
#include "HostEvents.h"
#include "MeetingLibrary.h"
#include "MeetingListView.h"
#include "ModelessDialogs.h"
#include "ModuleState.h"
#include "Registry.h"
#include "SJUISetting.h"
#include "TimeApi.h"
#include "Trace.h"
#include "ResourceIds.h"

namespace {
constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\Zorvan\\Quillkit";

DWORD ReadSetting(const wchar_t* name) {
    DWORD value = 0;
    if (!CRegistry::ReadDword(HKEY_CURRENT_USER, kSettingsKey, name, &value)) return 0;
    return value;
}

// Command-bar pictures: resource image and the command it stands for.
struct CommandPicture {
    UINT image;
    UINT command;
};
constexpr CommandPicture kCommandImages[] = {
    {IDIMG_START_MEETING, ID_MEETING_START},
    {IDIMG_COMMAND_SETTINGS, ID_ACCOUNT_SETTINGS},
    {IDIMG_COMMAND_AUDIO_VIDEO, ID_AUDIO_VIDEO_TEST},
    {IDIMG_COMMAND_HELP, ID_HELP_QK},
    {IDIMG_COMMAND_EDIT, ID_ITEM_EDIT},
    {IDIMG_SCHEDULE_MEETING, ID_MEETING_SCHEDULE},
    {IDIMG_REFRESH, ID_MEETING_REFRESH},
};

void EnableCommands(HMENU menu, std::initializer_list<UINT> commands, bool enable) {
    for (UINT command : commands) ::EnableMenuItem(menu, command, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
}
}  // namespace

BOOL CMainFrame::CreateContents() {
    if (!m_listView) return FALSE;
    const HINSTANCE resources = ModuleState::ResourceInstance();

    if (!m_commandBar.Create(m_hWnd)) return FALSE;
    m_commandBar.AttachMenu(resources, kCommandBarMenu);
    SetFrameIcons();
    for (const CommandPicture& entry : kCommandImages) m_commandBar.AddCommandImage(entry.image, entry.command);

    // The command bar shows the menu: the frame keeps none of its own.
    ::SetMenu(m_hWnd, nullptr);
    m_rebar.reset(::CreateWindowExW(0, REBARCLASSNAMEW, nullptr, kRebarStyle, 0, 0, 0, 0, m_hWnd,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kRebarId)),
                                    ModuleState::Instance(), nullptr));
    if (m_rebar) {
        ::SetParent(m_commandBar.Window(), m_rebar.get());
        REBARBANDINFOW band{sizeof(band)};
        band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE;
        band.fStyle = RBBS_NOGRIPPER;
        band.hwndChild = m_commandBar.Window();
        band.cyMinChild = static_cast<UINT>(m_commandBar.Height());
        ::SendMessageW(m_rebar.get(), RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    }

    if (!m_listView->Create(m_hWnd)) return FALSE;
    m_helpPopup.Create(m_hWnd);

    // The frame is as large as the list view plus the rebar and its frame.
    RECT list{};
    ::GetWindowRect(m_listView->m_hWnd, &list);
    RECT rebar{};
    if (m_rebar) ::GetWindowRect(m_rebar.get(), &rebar);
    RECT outer{0, 0, list.right - list.left, (list.bottom - list.top) + (rebar.bottom - rebar.top)};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
    m_frameWidth = outer.right - outer.left;
    m_frameHeight = outer.bottom - outer.top;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(m_hWnd, nullptr, work.right - m_frameWidth - kPlacementRight,
                   work.bottom - m_frameHeight - kPlacementBottom, m_frameWidth, m_frameHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutContents();
    return TRUE;
}

void CMainFrame::LayoutContents() {
    if (!IsWindow()) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int top = client.top;
    if (m_rebar) {
        ::SendMessageW(m_rebar.get(), WM_SIZE, 0, 0);
        RECT rebar{};
        ::GetWindowRect(m_rebar.get(), &rebar);
        top += rebar.bottom - rebar.top;
    }
    if (m_listView && m_listView->IsWindow())
        ::SetWindowPos(m_listView->m_hWnd, nullptr, client.left, top, client.right - client.left,
                       client.bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMainFrame::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam == SIZE_MINIMIZED) {
        FireHostEvent(VelEvent::MainFrameHidden);
    } else {
        LayoutContents();
    }
    handled = FALSE;
    return 0;
}

void CMainFrame::BringUpContents() {
    if (!IsWindow() || !m_listView || !m_listView->IsWindow()) return;
    ::ShowWindow(m_listView->m_hWnd, SW_SHOW);
    if (m_rebar) ::ShowWindow(m_rebar.get(), SW_SHOW);
    ::SetActiveWindow(m_hWnd);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::SendMessageW(m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
    const DATE today = CTimeApi::GetLocalNow();
    m_listView->ResetDay(&today);
    m_listView->SetActive(TRUE);
}

void CMainFrame::OnSignInSynchronized(INT_PTR first, const RECT* place) {
    TraceText(2, "CMainFrame::HandleEvent, EID_SYNC_MEETING_SUCCESS");
    if (place && IsWindow())
        ::MoveWindow(m_hWnd, place->left, place->top, place->right - place->left, place->bottom - place->top, TRUE);
    m_lastRefreshTime = CTimeApi::GetLocalNow();
    CStringEx tooltip;
    tooltip.LoadString(ModuleState::ResourceInstance(), kUpToDateTooltipString);
    FireHostEvent(VelEvent::TrayTooltip, reinterpret_cast<INT_PTR>(tooltip.c_str()));
    FireHostEvent(VelEvent::TrayImageState, 1);

    CSJUISetting* setting = CSJUISetting::Existing();
    const BOOL snapjoin = setting && setting->IsSnapjoinEnabled();
    m_spSync.Reset();
    UpdateMenuState(TRUE);

    const bool noZ11Site = setting && setting->IsZ11SiteNameEmpty();
    if (first == 1 && noZ11Site && IsStartByAutoRun()) {
        // Started with the system: the user only hears that the client runs.
        if (snapjoin) {
            CStringEx text;
            CStringEx title;
            text.LoadString(ModuleState::ResourceInstance(), kAutoRunBalloonString);
            title.LoadString(ModuleState::ResourceInstance(), kTitleString);
            FireHostEvent(VelEvent::TrayBalloon, reinterpret_cast<INT_PTR>(text.c_str()),
                          reinterpret_cast<INT_PTR>(title.c_str()), kBalloonDisplayMs);
        } else {
            BringUpContents();
        }
    } else {
        BringUpContents();
        if (snapjoin) {
            ::ShowWindow(m_hWnd, SW_SHOW);
            if (first == 1) PostRefresh();
        }
    }
    if (!snapjoin) FireSignedInBalloon();
    if (m_commandLine.find(L"ReSignin") == std::wstring::npos) HandleCmdLine();
    FireCheckforUpdate(TRUE);
}

void CMainFrame::OnRefresh(UINT code) {
    CAutoFunTrace trace("CMainFrame::OnRefresh");
    if (m_listView) m_listView->OnRefresh(code);
}

void CMainFrame::ClearMeetingList() {
    if (!m_listView) return;
    m_listView->SetActive(FALSE);
    m_listView->ResetDay(nullptr);
}

void CMainFrame::UpdateMenuState(BOOL reload) {
    const HMENU current = m_commandBar.Menu();
    if (!m_commandBar.Window()) return;
    const DWORD hideSwitchSite = ReadSetting(L"HideSwitchSite");
    if (reload && current && ::IsMenu(current)) m_commandBar.AttachMenu(ModuleState::ResourceInstance(), kCommandBarMenu);
    const HMENU menu = m_commandBar.Menu();
    if (!menu) return;

    // A modal settings window keeps the account commands out of reach.
    bool settingsBusy = false;
    if (m_settingModule) {
        const HWND window = m_settingModule->GetModuleWindow();
        settingsBusy = window && ::IsWindow(window) && !::IsWindowEnabled(window);
    }
    CSJUISetting* setting = CSJUISetting::Existing();
    if (setting && setting->IsZ11SiteNameEmpty()) {
        if (ReadSetting(L"DisableStartAudio")) ::DeleteMenu(menu, kCmdStartPersonalConf, MF_BYCOMMAND);
        if (hideSwitchSite) ::DeleteMenu(menu, kCmdSwitchAccount, MF_BYCOMMAND);
        EnableCommands(menu, {kCmdLogOut, kCmdAccountDetails, kCmdSwitchAccount}, !settingsBusy);
        return;
    }
    ::DeleteMenu(menu, kCmdStartPersonalConf, MF_BYCOMMAND);
    if (hideSwitchSite) ::DeleteMenu(menu, kCmdSwitchAccount, MF_BYCOMMAND);
    EnableCommands(menu, {kCmdTrayExit, kCmdLogOut, kCmdSettings, kCmdSwitchAccount}, !settingsBusy);
}

LRESULT CMainFrame::OnInitMenuPopup(UINT, WPARAM, LPARAM, BOOL& handled) {
    UpdateMenuState(FALSE);
    handled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnCommandBarCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = m_commandBar.OnCommand(wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnCommandBarCustomDraw(int, LPNMHDR header, BOOL& handled) {
    return m_commandBar.OnCustomDraw(header, handled);
}

BOOL CMainFrame::PreTranslateMessage(MSG* msg) {
    // The host's loop is the only one: modeless dialogs of the module, which
    // need not belong to the frame, get their Tab, Enter and Escape here.
    if (ModelessDialogs::PreTranslate(msg)) return TRUE;
    if (!msg || !IsWindow() || ::IsIconic(m_hWnd)) return FALSE;
    if (m_accelerators && ::TranslateAcceleratorW(m_hWnd, m_accelerators, msg)) return TRUE;
    if (::IsWindowVisible(m_hWnd) && m_listView) return m_listView->PreTranslateMessage(msg);
    return FALSE;
}

HRESULT CMainFrame::EditMeeting(BSTR meetingKey, BOOL notFromOI, DATE start) {
    CAutoFunTrace trace("CMainFrame::EditMeeting");
    CWaitCursor wait;
    CSJUISetting* setting = CSJUISetting::Existing();
    if (setting && setting->IsOutlookToolEnabled() && !notFromOI) {
        CMeetingLibObject<IQKMeetingPages> pages(CLSID_QKMeetingPages);
        if (!pages) return E_FAIL;
        // The mail tool finds the meeting's occurrence by its start.
        CStringEx reference;
        reference.Format(L"%s|%f", meetingKey ? meetingKey : L"", start);
        pages->EditMeeting(Bstr(reference.c_str()).get());
        return S_OK;
    }
    if (m_listView) m_listView->EditMeeting(meetingKey);
    return S_OK;
}

HRESULT CMainFrame::ViewMeetingDetail(BSTR meetingKey, BOOL, DATE) {
    CAutoFunTrace trace("CMainFrame::ViewMeetingDetail");
    return m_listView ? m_listView->ViewMeetingDetail(meetingKey) : E_FAIL;
}

LRESULT CMainFrame::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = CFlatMenu::OnMeasureItem(m_hWnd, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    return handled;
}

LRESULT CMainFrame::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = CFlatMenu::OnDrawItem(m_hWnd, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return handled;
}
