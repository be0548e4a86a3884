#include "MainFrame.h"

#include "ComHolders.h"
#include "CommandLine.h"
#include "DLLHandle.h"
#include "ModuleState.h"
#include "SiblingObject.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "HostEvents.h"
#include "MeetingListView.h"
#include "IPPhoneBoshPorxy.h"

namespace {
// The class keeps the icons for as long as it is registered.
struct FrameClassIcons {
    UniqueHicon large;
    UniqueHicon small;
};
FrameClassIcons& ClassIcons() {
    static FrameClassIcons icons;
    return icons;
}

bool RegisterFrameClass(HINSTANCE resourceLibrary) {
    WNDCLASSEXW existing{sizeof(existing)};
    if (::GetClassInfoExW(ModuleState::Instance(), CMainFrame::kWindowClass, &existing)) return true;

    FrameClassIcons& icons = ClassIcons();
    if (resourceLibrary) {
        icons.large.reset(static_cast<HICON>(
            ::LoadImageW(resourceLibrary, MAKEINTRESOURCEW(CMainFrame::kIconResource), IMAGE_ICON, 32, 32, 0)));
        icons.small.reset(static_cast<HICON>(
            ::LoadImageW(resourceLibrary, MAKEINTRESOURCEW(CMainFrame::kIconResource), IMAGE_ICON, 16, 16, 0)));
    }
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = 0;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icons.large.get();
    wc.hIconSm = icons.small.get();
    wc.lpszClassName = CMainFrame::kWindowClass;
    return CWindowBase::RegisterClassOnce(wc);
}
}  // namespace

CMainFrame::CMainFrame() noexcept {
    s_instance = this;
    try {
        m_listView = std::make_unique<CMeetingListView>(this);
    } catch (...) {
        // Creation of the window then fails: the frame has nothing to show.
    }
    CSJUISetting::SetListener(this);
    ::GetTimeZoneInformation(&m_timeZone);
}

CMainFrame::~CMainFrame() {
    // The list view reads the frame's services until it is gone.
    m_listView.reset();
    // Released before their libraries go, whichever way the frame ends.
    m_settingModule.Reset();
    m_loginModule.Reset();
    if (s_instance == this) {
        s_instance = nullptr;
        SetEventHost(nullptr);
    }
    if (CSJUISetting::Listener() == this) CSJUISetting::SetListener(nullptr);
}

namespace {
// Loaded once per process and never freed: objects of it may outlive any one
// frame, and freeing it while the module unloads would run inside the loader.
HMODULE WebApiLibrary() {
    static CDLLHandle* library = new CDLLHandle(L"qkWebAPI.dll", ModuleState::Instance());
    return library->Handle();
}
}  // namespace

HRESULT CMainFrame::GetSyncObject(IQKWebApiSync** sync, BOOL reset) {
    CAutoFunTrace trace("CMainFrame::GetSyncObject");
    if (reset) m_spSync.Reset();
    if (!sync) return E_INVALIDARG;
    *sync = nullptr;
    if (!m_spSync) {
        const HRESULT hr = CreateSiblingObject(WebApiLibrary(), CLSID_QKWebApiSync, __uuidof(IQKWebApiSync),
                                               reinterpret_cast<void**>(m_spSync.GetAddressOf()));
        if (FAILED(hr) || !m_spSync) {
            m_spSync.Reset();
            TraceText(8, "m_spSync.CoCreateInstance failed");
            return E_FAIL;
        }
    }
    return m_spSync->QueryInterface(__uuidof(IQKWebApiSync), reinterpret_cast<void**>(sync));
}

void CMainFrame::OnAccountSettingsChanged(const wchar_t* accountXml) { m_lastAccount = accountXml ? accountXml : L""; }

UINT CMainFrame::TaskbarCreatedMessage() noexcept {
    static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

void CMainFrame::SetApplication(IVelModuleHost* host) {
    if (!host) return;
    m_host = host;
    if (s_instance == this) SetEventHost(host);

    Bstr commandLine;
    if (FAILED(host->GetCommandLine(commandLine.receive())) || commandLine.empty()) return;
    if (auto arguments = ArgumentsAfterProgram(commandLine.c_str())) m_commandLine = std::move(*arguments);
}

HWND CMainFrame::CreateFrame(HINSTANCE resourceLibrary) {
    if (!RegisterFrameClass(resourceLibrary)) return nullptr;
    wchar_t title[256] = {};
    if (resourceLibrary) ::LoadStringW(resourceLibrary, kTitleString, title, static_cast<int>(std::size(title)));
    return CreateEx(kExStyle, kWindowClass, title, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    nullptr, nullptr);
}

void CMainFrame::UnregisterFrameClass() noexcept {
    ::UnregisterClassW(kWindowClass, ModuleState::Instance());
    ClassIcons().large.reset();
    ClassIcons().small.reset();
}

// A settings window closed by the user is let go as soon as the loop is idle.
BOOL CMainFrame::OnIdle() {
    UnloadSettingModule(FALSE);
    return FALSE;
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (!m_listView) return -1;
    SubscribeHostEvents({VelEvent::SignInSynchronized, VelEvent::MessagingIdentity}, this);
    if (!CreateContents()) {
        TraceError("CMainFrame::OnCreate contents Fail");
        UnsubscribeHostEvents({VelEvent::SignInSynchronized, VelEvent::MessagingIdentity}, this);
        return -1;
    }
    m_accelerators = ::LoadAcceleratorsW(ModuleState::ResourceInstance(), MAKEINTRESOURCEW(kCommandBarMenu));
    if (m_host) {
        m_host->AddMessageFilter(this);
        m_host->AddIdleHandler(this);
    }
    m_trayIcon.Create(m_hWnd, kTrayCallbackMessage, kTrayIconId);
    ::ShowWindow(m_hWnd, SW_HIDE);
    // Loaded hidden, so that the tray can show it at once.
    OpenLoginModule(FALSE);
    FireHostEvent(VelEvent::MainFrameCreated, 0, 0, 0);
    // Without the messaging client the phone cannot reach us; the rest runs.
    CIPPhoneBoshPorxy::CreateInstance(m_hWnd, this);
    return 0;
}

void CMainFrame::SetFrameIcons() { m_icons.Set(m_hWnd, ModuleState::ResourceInstance(), kFrameIconResource); }

LRESULT CMainFrame::OnSettingChange(UINT, WPARAM, LPARAM, BOOL& handled) {
    // The shell may have restarted since the icon was added, and forgotten it.
    m_trayIcon.Remove();
    m_trayIcon.Add();
    // Fonts and metrics may have changed: keep the frame at its computed size.
    if (m_frameWidth > 100 && m_frameHeight > 100)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_frameWidth, m_frameHeight,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    // Regional settings may have changed how meetings are shown.
    if (IsSignedIn()) PostRefresh();
    handled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL& handled) {
    // Removed first: the broadcast also reaches us when our icon is still there.
    m_trayIcon.Remove();
    m_trayIcon.Add();
    handled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnActivateApp(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (!wParam) FireHostEvent(VelEvent::CloseBubble);
    handled = FALSE;
    return 0;
}

// The window stays: on exit the host ends the module, which destroys it.
LRESULT CMainFrame::OnClose(UINT, WPARAM wParam, LPARAM, BOOL&) {
    CAutoFunTrace trace("CMainFrame::OnClose");
    if (wParam != kExitMarker) {
        HideWindow();
    } else if (m_host) {
        m_host->CloseHost(0);
    }
    FireHostEvent(VelEvent::MainFrameHidden);
    return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    UnsubscribeHostEvents({VelEvent::SignInSynchronized, VelEvent::MessagingIdentity}, this);
    if (m_listView && m_listView->IsWindow()) ::DestroyWindow(m_listView->m_hWnd);
    m_commandBar.DestroyMenu();
    m_rebar.reset();
    m_helpPopup.DestroyWindow();
    UnloadSettingModule(TRUE);
    UnloadLoginModule(TRUE);
    m_trayIcon.Destroy();
    m_icons.Clear(m_hWnd);
    if (m_host) {
        m_host->RemoveMessageFilter(this);
        m_host->RemoveIdleHandler(this);
    }
    ReleaseInstance();
    ::PostQuitMessage(kQuitExitCode);
    handled = FALSE;
    return 0;
}

void CMainFrame::SetLoginModule(IVelUIModule* module, UniqueHmodule library) {
    UnloadLoginModule(TRUE);
    m_loginModule = module;
    m_loginLibrary = std::move(library);
}
