#pragma once
// The desktop client's main frame: a hidden top-level window that owns the
// module's user interface and joins the host's message loop.
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "QkMeetingLibs.h"
#include "VelModuleHost.h"
#include "module/TrayIcon.h"
#include "uilib/WindowBase.h"

class CMainFrame : public CWindowBase, public CMessageFilter, public CIdleHandler {
public:
    // Also the name of the session-wide single-instance mutex.
    static constexpr const wchar_t* kWindowClass = L"QK_SJ_MainFrame_3DD8BA03-E8BC-421c-961F-4936E19F010F";
    static constexpr DWORD kStyle = 0x06CA0000;    // overlapped, caption, system menu, minimise box, clipping
    static constexpr DWORD kExStyle = WS_EX_APPWINDOW;
    static constexpr UINT kTitleString = 61535;
    static constexpr UINT kIconResource = 102;
    static constexpr int kQuitExitCode = 1;
    static constexpr UINT kTrayCallbackMessage = WM_USER + 305;  // 1329
    static constexpr UINT kTrayIconId = 246;

    // The process has one frame; construction makes it the current one, and
    // windows of the module reach the host through it.
    CMainFrame() noexcept;
    ~CMainFrame() override;
    // The process-wide main frame, or null when none exists.
    [[nodiscard]] static CMainFrame* GetInstance() noexcept { return s_instance; }

    // Keeps a counted reference to the host and takes the command to carry out
    // from the host's command line.
    void SetApplication(IVelModuleHost* host);
    [[nodiscard]] IVelModuleHost* GetApplication() const noexcept { return m_host.Get(); }
    [[nodiscard]] const std::wstring& GetCommandLineText() const noexcept { return m_commandLine; }

    // Creates the hidden frame window, registering its class on first use.
    HWND CreateFrame(HINSTANCE resourceLibrary);
    // Drops the frame's window class and the icons it holds (at module end).
    static void UnregisterFrameClass() noexcept;

    // The account document pushed by the settings service.
    void OnAccountSettingsChanged(const wchar_t* accountXml);
    // The running meetings pushed by the meeting component.
    void OnMeetingChanged(const wchar_t* meetingsXml);
    [[nodiscard]] const std::wstring& LastAccountDocument() const noexcept { return m_lastAccount; }
    [[nodiscard]] const std::wstring& LastMeetingsDocument() const noexcept { return m_lastMeetings; }

    // The web-API synchronisation object, created from qkWebAPI.dll on first
    // request and held; `reset` drops the held one first so that a fresh object
    // serves the next synchronisation. A null `sync` gives E_INVALIDARG.
    HRESULT GetSyncObject(IQKWebApiSync** sync, BOOL reset);
    // The meeting list type asked of the web-API component.
    [[nodiscard]] LONG GetListType() const noexcept { return kMeetingListType; }
    static constexpr LONG kMeetingListType = 2;

    // CMessageFilter
    BOOL PreTranslateMessage(MSG* msg) override;
    // CIdleHandler
    BOOL OnIdle() override;

    BEGIN_MSG_MAP(CMainFrame)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(TaskbarCreatedMessage(), OnTaskbarCreated)
    END_MSG_MAP()

    // Broadcast to top-level windows when the shell (re)starts its taskbar.
    static UINT TaskbarCreatedMessage() noexcept;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&);

    static inline CMainFrame* s_instance = nullptr;

    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    std::wstring m_commandLine;
    std::wstring m_lastAccount;
    std::wstring m_lastMeetings;
    Microsoft::WRL::ComPtr<IQKWebApiSync> m_spSync;
    CTrayIcon m_trayIcon;
};
