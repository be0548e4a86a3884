// The suite's login and settings modules as the frame hosts them, and the
// sign-in, sign-out and account-switch flows that go through them.
#include "ComHolders.h"
#include "ModuleState.h"
#include "SiblingObject.h"
#include "SiteUrl.h"
#include "Trace.h"
#include "MainFrame.h"
#include "HostEvents.h"
#include "SJUISetting.h"

namespace {
// A window of this thread cannot take the foreground from another thread's
// window unless the two share input state for the request.
void BringToForeground(HWND window) {
    const HWND foreground = ::GetForegroundWindow();
    const DWORD foregroundThread = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    const DWORD thisThread = ::GetCurrentThreadId();
    const bool attach = foregroundThread != 0 && foregroundThread != thisThread;
    if (attach) ::AttachThreadInput(thisThread, foregroundThread, TRUE);
    ::SetForegroundWindow(window);
    if (attach) ::AttachThreadInput(thisThread, foregroundThread, FALSE);
}

void BringToTop(HWND window) {
    ::BringWindowToTop(window);
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Loads `fileName` from the module's folder and creates its user-interface module.
bool CreateChildModule(const wchar_t* fileName, REFCLSID classId, UniqueHmodule& library,
                       Microsoft::WRL::ComPtr<IVelUIModule>& module) {
    UniqueHmodule loaded(::LoadLibraryW((ModuleState::Folder() + fileName).c_str()));
    Microsoft::WRL::ComPtr<IVelUIModule> created;
    if (FAILED(CreateSiblingObject(loaded.get(), classId, __uuidof(IVelUIModule),
                                   reinterpret_cast<void**>(created.GetAddressOf()))) ||
        !created)
        return false;
    // The old pair goes first, object before library.
    module.Reset();
    library = std::move(loaded);
    module = std::move(created);
    return true;
}

const wchar_t* SettingLibraryFor(ULONG siteType) {
    switch (siteType) {
    case 2: return L"qkONIUIOri.dll";
    case 0: return L"qkONIUITra.dll";
    default: return L"qkONIUI.dll";
    }
}
}  // namespace

void CMainFrame::OpenLoginModule(BOOL show) {
    CAutoFunTrace trace("CMainFrame::OpenLoginModule");
    if (m_loginModule) {
        const HWND window = m_loginModule->GetModuleWindow();
        if (window && ::IsWindow(window)) {
            if (show) m_loginModule->ShowModule(TRUE);
            return;
        }
        UnloadLoginModule(FALSE);
    }
    UniqueHmodule library;
    Microsoft::WRL::ComPtr<IVelUIModule> module;
    if (!CreateChildModule(kLoginLibrary, CLSID_QKLoginModule, library, module)) {
        TraceText(8, "Create instance of Login Module failed in SJUI");
        return;
    }
    if (FAILED(module->InitModule(m_host.Get(), m_hWnd))) {
        TraceText(8, "Init Login Module failed in SJUI");
        return;
    }
    // A module that would not unload keeps its place; the new one takes it over.
    m_loginModule.Reset();
    m_loginLibrary = std::move(library);
    m_loginModule = std::move(module);
    if (show) m_loginModule->ShowModule(TRUE);
}

void CMainFrame::UnloadLoginModule(BOOL force) {
    if (!m_loginModule) return;
    if (!force && !m_loginModule->IsModuleClosed()) return;
    m_loginModule->UninitModule();
    m_loginModule.Reset();
    m_loginLibrary.reset();
}

void CMainFrame::UnloadSettingModule(BOOL force) {
    if (!m_settingModule) return;
    if (!force && !m_settingModule->IsModuleClosed()) return;
    m_settingModule->UninitModule();
    m_settingModule.Reset();
    m_settingLibrary.reset();
}

void CMainFrame::OpenSetting() {
    CAutoFunTrace trace("CMainFrame::OpenSetting");
    CSJUISetting* setting = CSJUISetting::Existing();
    if (!setting) {
        TraceText(8, "SJUISETTING is invalid in OpenSetting()");
        return;
    }
    if (m_settingModule) {
        const HWND window = m_settingModule->GetModuleWindow();
        if (window && ::IsWindow(window)) {
            ::ShowWindow(window, SW_SHOWNORMAL);
            BringToForeground(window);
            BringToTop(window);
            return;
        }
        UnloadSettingModule(FALSE);
    }
    UniqueHmodule library;
    Microsoft::WRL::ComPtr<IVelUIModule> module;
    if (!CreateChildModule(SettingLibraryFor(setting->GetSiteType()), CLSID_QKSettingModule, library, module)) {
        TraceText(8, "Create instance of Setting Module failed in SJUI");
        return;
    }
    UnloadSettingModule(TRUE);
    // A module that failed to start is dropped, so that the next request tries again.
    if (FAILED(module->InitModule(m_host.Get(), nullptr))) {
        TraceText(8, "Init Setting Module failed in SJUI");
        return;
    }
    m_settingLibrary = std::move(library);
    m_settingModule = std::move(module);
    m_settingModule->ShowModule(TRUE);
    if (const HWND window = m_settingModule->GetModuleWindow(); window && ::IsWindow(window)) BringToForeground(window);
}

HWND CMainFrame::BusyWindow() const {
    if (m_settingModule) {
        const HWND window = m_settingModule->GetModuleWindow();
        if (window && ::IsWindow(window) && !::IsWindowEnabled(window)) return window;
    }
    if (IsWindow() && !::IsWindowEnabled(m_hWnd)) return m_hWnd;
    return nullptr;
}

void CMainFrame::OnLogOut() {
    CAutoFunTrace trace("CMainFrame::OnLogOut");
    // A modal dialog is open: the user has to finish it first.
    if (const HWND busy = BusyWindow()) {
        const HWND popup = ::GetLastActivePopup(busy);
        ::SetForegroundWindow(popup);
        BringToTop(popup);
        return;
    }
    HideWindow();
    CStringEx tooltip;
    tooltip.LoadString(ModuleState::ResourceInstance(), kSignedOutTooltipString);
    FireHostEvent(VelEvent::TrayTooltip, reinterpret_cast<INT_PTR>(tooltip.c_str()));
    ClearMeetingList();
    m_spSync.Reset();
    UnloadSettingModule(TRUE);
    FireHostEvent(VelEvent::SignedOut);
    OpenLoginModule(TRUE);
    HideWindow();
}

void CMainFrame::OnSwitchAccount() {
    CAutoFunTrace trace("CMainFrame::OnSwitchAccount");
    if (const HWND busy = BusyWindow()) {
        const HWND popup = ::GetLastActivePopup(busy);
        ::SetForegroundWindow(popup);
        BringToTop(popup);
        return;
    }
    ClearMeetingList();
    m_spSync.Reset();
    UnloadSettingModule(TRUE);
    HideWindow();
    OpenLoginModule(TRUE);
    FireHostEvent(VelEvent::AccountSwitch);
    HideWindow();
}

void CMainFrame::SignInAgainWithError(INT_PTR code, INT_PTR second, INT_PTR third) {
    CAutoFunTrace trace("CMainFrame::SignInAgainWithError");
    ClearMeetingList();
    HideWindow();
    FireHostEvent(VelEvent::SignInError, code, second, third);
    OpenLoginModule(TRUE);
    HideWindow();
}

void CMainFrame::RequestReSignin() {
    CAutoFunTrace trace("CMainFrame::RequestReSignin");
    ClearMeetingList();
    HideWindow();
    FireHostEvent(VelEvent::SignInAgain, 0, 0, 1);
    OpenLoginModule(TRUE);
    HideWindow();
}

void CMainFrame::OnTrayOpen() {
    CAutoFunTrace trace("CMainFrame::OnTrayOpen");
    if (IsSignedIn()) {
        OpenMainFrame();
    } else {
        OpenLoginModule(TRUE);
    }
}

void CMainFrame::OnTrayLogin() {
    CAutoFunTrace trace("CMainFrame::OnTrayLogin");
    OpenLoginModule(TRUE);
    FireHostEvent(VelEvent::MainFrameCreated, 1, 0, 0);
}

void CMainFrame::OnTrayExit() {
    CAutoFunTrace trace("CMainFrame::OnTrayExit");
    if (IsWindow() && !::IsWindowVisible(m_hWnd)) ::ShowWindow(m_hWnd, SW_MINIMIZE);
    FireHostEvent(VelEvent::UserExit);
    if (IsWindow()) ::PostMessageW(m_hWnd, WM_CLOSE, kExitMarker, 0);
}

void CMainFrame::FireSignedInBalloon() {
    CSJUISetting* setting = CSJUISetting::Existing();
    if (!setting) return;
    const HINSTANCE resources = ModuleState::ResourceInstance();
    CStringEx title;
    title.LoadString(resources, kTitleString);
    CStringEx format;
    CStringEx text;
    if (setting->IsSiteType2()) {
        CStringEx site;
        CStringEx host;
        CStringEx siteName;
        setting->GetSiteName(site);
        SplitSiteUrl(site, host, siteName);
        format.LoadString(resources, kSignedInSiteBalloonString);
        text.Format(format.c_str(), host.c_str());
    } else {
        format.LoadString(resources, kSignedInBalloonString);
        text.Format(format.c_str(), title.c_str());
    }
    FireHostEvent(VelEvent::TrayBalloon, reinterpret_cast<INT_PTR>(text.c_str()),
                  reinterpret_cast<INT_PTR>(title.c_str()), kBalloonDisplayMs);
}

void CMainFrame::OpenMainFrame() {
    CAutoFunTrace trace("CMainFrame::OpenMainFrame");
    CSJUISetting* setting = CSJUISetting::Existing();
    if (setting && !setting->IsSnapjoinEnabled()) {
        FireSignedInBalloon();
        return;
    }
    if (!IsWindow()) return;
    if (!::IsWindowVisible(m_hWnd)) {
        MeetingListGoToday();
        m_lastRefreshTime = 0.0;
    }
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    BringToForeground(m_hWnd);
    PostRefresh();
    FireCheckforUpdate(FALSE);
}
