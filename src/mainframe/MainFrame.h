#pragma once
// The desktop client's main frame: a hidden top-level window that owns the
// module's user interface and joins the host's message loop.
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "VelModuleHost.h"
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

    // There is one main frame per process; construction makes it the current one.
    CMainFrame();
    ~CMainFrame() override;
    // The process-wide main frame, or null when none exists.
    static CMainFrame* GetInstance() noexcept;

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

    // CMessageFilter
    BOOL PreTranslateMessage(MSG* msg) override;
    // CIdleHandler
    BOOL OnIdle() override;

    BEGIN_MSG_MAP(CMainFrame)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    std::wstring m_commandLine;
    std::wstring m_lastAccount;
    std::wstring m_lastMeetings;
};
