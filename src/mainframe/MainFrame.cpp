#include "mainframe/MainFrame.h"

#include <shellapi.h>

#include "common/ComHolders.h"
#include "common/ModuleState.h"
#include "common/UniqueHandle.h"

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

namespace {
CMainFrame* g_mainFrame = nullptr;
}  // namespace

CMainFrame::CMainFrame() { g_mainFrame = this; }

CMainFrame::~CMainFrame() {
    if (g_mainFrame == this) g_mainFrame = nullptr;
}

CMainFrame* CMainFrame::GetInstance() noexcept { return g_mainFrame; }

void CMainFrame::OnAccountSettingsChanged(const wchar_t* accountXml) { m_lastAccount = accountXml ? accountXml : L""; }

void CMainFrame::OnMeetingChanged(const wchar_t* meetingsXml) { m_lastMeetings = meetingsXml ? meetingsXml : L""; }

void CMainFrame::SetApplication(IVelModuleHost* host) {
    if (!host) return;
    m_host = host;

    Bstr commandLine;
    if (FAILED(host->GetCommandLine(commandLine.receive())) || commandLine.empty()) return;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(commandLine.c_str(), &count);
    if (!arguments) return;
    std::wstring text;
    for (int i = 1; i < count; ++i) text += arguments[i];
    ::LocalFree(arguments);
    m_commandLine = std::move(text);
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

BOOL CMainFrame::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CMainFrame::OnIdle() { return FALSE; }

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_host) {
        m_host->AddMessageFilter(this);
        m_host->AddIdleHandler(this);
    }
    return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_host) {
        m_host->RemoveMessageFilter(this);
        m_host->RemoveIdleHandler(this);
    }
    ::PostQuitMessage(kQuitExitCode);
    handled = FALSE;
    return 0;
}
