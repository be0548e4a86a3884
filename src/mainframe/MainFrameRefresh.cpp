// How the frame decides to refresh the meeting list: signed-in state, meeting
// changes, activation, time changes, refresh requests and host events.
#include <cstring>

#include "ModuleState.h"
#include "StringEx.h"
#include "Trace.h"
#include "MainFrame.h"
#include "TimeApi.h"
#include "HostEvents.h"
#include "SJUISetting.h"
#include "IPPhoneBoshPorxy.h"

namespace {
constexpr DWORD kSignWaitMs = 10;
}  // namespace

BOOL CMainFrame::IsSignedIn() {
    // The login module signals the event on sign-in; creating it here lets the
    // frame ask before the login module has ever run.
    UniqueKernelHandle signedIn(::CreateEventW(nullptr, TRUE, FALSE, kSignEventName));
    if (!signedIn || ::WaitForSingleObject(signedIn.get(), kSignWaitMs) != WAIT_OBJECT_0) return FALSE;
    if (!m_loginModule) return FALSE;
    const HWND login = m_loginModule->GetModuleWindow();
    return login && ::IsWindow(login) && !::IsWindowVisible(login);
}

void CMainFrame::PostRefresh() {
    if (IsWindow()) ::PostMessageW(m_hWnd, WM_COMMAND, kAutoRefresh, 0);
}

void CMainFrame::HideWindow() {
    if (IsWindow()) ::ShowWindow(m_hWnd, SW_HIDE);
}

void CMainFrame::MeetingListGoToday() {
    if (IsSignedIn()) FireHostEvent(VelEvent::ShowDay);
}

void CMainFrame::OnTrayAnimate(BOOL syncing) {
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), syncing ? kSyncingTooltipString : kUpToDateTooltipString);
    FireHostEvent(VelEvent::TrayTooltip, reinterpret_cast<INT_PTR>(text.c_str()));
}

void CMainFrame::OnMeetingChanged(const wchar_t* meetingsXml) {
    m_lastMeetings = meetingsXml ? meetingsXml : L"";
    // Restarting the timer folds a burst of changes into one refresh.
    if (IsSignedIn() && IsWindow()) ::SetTimer(m_hWnd, kMeetingChangeTimer, kMeetingChangeDelayMs, nullptr);
    // A request from the phone may be waiting for its meeting to show up.
    if (CIPPhoneBoshPorxy* bridge = CIPPhoneBoshPorxy::Instance()) bridge->OnMeetingReturn(m_lastMeetings.c_str());
}

LRESULT CMainFrame::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    const UINT_PTR id = wParam;
    if (id != kCommandLineTimer && id != kMeetingChangeTimer && id != kUpdateCheckTimer) {
        handled = FALSE;
        return 0;
    }
    // Every timer of the frame fires once per start.
    ::KillTimer(m_hWnd, id);
    if (id == kCommandLineTimer) {
        HandleCmdLine();
    } else if (id == kMeetingChangeTimer) {
        PostRefresh();
    } else {
        DoCheckforUpdate();
    }
    return 0;
}

LRESULT CMainFrame::OnRefreshMeetingList(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (IsSignedIn()) ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(kRefreshCommand, LOWORD(wParam)), 0);
    return 0;
}

LRESULT CMainFrame::OnSysTimeChanged(UINT, WPARAM, LPARAM, BOOL&) {
    CAutoFunTrace trace("CMainFrame::OnSysTimeChanged");
    TIME_ZONE_INFORMATION current{};
    ::GetTimeZoneInformation(&current);
    // A clock set within the same zone changes nothing the list shows.
    if (std::memcmp(&current, &m_timeZone, sizeof(current)) == 0) return 0;
    m_timeZone = current;
    if (IsSignedIn()) {
        MeetingListGoToday();
        m_lastRefreshTime = 0.0;
        PostRefresh();
    }
    return 0;
}

LRESULT CMainFrame::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    handled = FALSE;
    const WORD state = LOWORD(wParam);
    if ((state != WA_ACTIVE && state != WA_CLICKACTIVE) || HIWORD(wParam) != 0) return 0;
    CSJUISetting* setting = CSJUISetting::Existing();
    if (!setting || setting->IsZ11SiteNameEmpty() || !::IsWindowVisible(m_hWnd)) return 0;
    const DATE now = CTimeApi::GetLocalNow();
    if (CTimeApi::GetSecondsBetween(now, m_lastRefreshTime) < kActivationRefreshSeconds) return 0;
    PostRefresh();
    m_lastRefreshTime = now;
    return 0;
}

HRESULT CMainFrame::HandleEvent(UINT code, INT_PTR param1, INT_PTR, INT_PTR param3) {
    try {
        switch (code) {
        case VelEvent::SignInSynchronized:
            OnSignInSynchronized(param1, reinterpret_cast<const RECT*>(param3));
            break;
        case VelEvent::MessagingIdentity:
            TraceText(2, "CMainFrame::HandleEvent, EID_GET_PARLEYID");
            if (CIPPhoneBoshPorxy* bridge = CIPPhoneBoshPorxy::Instance())
                bridge->onGetIMAccount(reinterpret_cast<const wchar_t*>(param1));
            break;
        default:
            break;
        }
    } catch (...) {
        // The bus belongs to the host: nothing may escape into it.
    }
    return S_OK;
}
