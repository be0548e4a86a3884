#pragma once
// The invisible help module: opens the help page for the user's site and ends.
#include <windows.h>
#include <wrl/client.h>

#include "VelModuleHost.h"
#include "VelUIModule.h"
#include "UniqueHandle.h"
#include "Unknown.h"
#include "WindowBase.h"

// The module object is also its hidden window's object: the window's handlers
// decide and open the help page with the host and the resources the module holds.
class CQKIPCSrvUIModule : public CUnknown, public IVelUIModule, private CWindowBase {
public:
    explicit CQKIPCSrvUIModule(IUnknown* outer);
    ~CQKIPCSrvUIModule() override;

    DECLARE_FORWARDING_IUNKNOWN()
    HRESULT STDMETHODCALLTYPE NondelegatingQueryInterface(REFIID iid, void** object) override;

    // IVelUIModule
    HRESULT STDMETHODCALLTYPE InitModule(IVelModuleHost* host, HWND owner) override;
    BOOL STDMETHODCALLTYPE IsModuleClosed() override;
    HWND STDMETHODCALLTYPE GetModuleWindow() override;
    HRESULT STDMETHODCALLTYPE ShowModule(BOOL show) override;
    HRESULT STDMETHODCALLTYPE UninitModule() override;

    static constexpr const wchar_t* kWindowClass = L"VelIPCSrvClass";
    static constexpr const wchar_t* kWindowTitle = L"Veltra IPCSrv Hidden Window";
    static constexpr const wchar_t* kResourceLibrary = L"qkres.dll";

    // The code the host is asked to end with (0, or 404 once a custom help
    // link was required but missing); it lasts for the whole process.
    [[nodiscard]] static LONG ExitCode() noexcept { return s_exitCode; }

    BEGIN_MSG_MAP(CQKIPCSrvUIModule)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    HRESULT StartUp();
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    // The help decision: 0, or -1 to make the window's creation fail.
    LRESULT ChooseAndOpenHelp(HWND hwnd);

    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    HWND m_hiddenWindow = nullptr;
    HWND m_windowSeen = nullptr;   // as the window procedure saw it at creation
    UniqueHmodule m_resources;     // the resource library this object loaded

    static inline LONG s_exitCode = 0;
};
