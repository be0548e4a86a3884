#pragma once
// The invisible help module: opens the help page for the user's site and ends.
#include <windows.h>
#include <wrl/client.h>

#include "VelModuleHost.h"
#include "VelUIModule.h"
#include "UniqueHandle.h"
#include "Unknown.h"

class CQKIPCSrvUIModule : public CUnknown, public IVelUIModule {
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

private:
    HRESULT StartUp();
    static LRESULT CALLBACK HiddenWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(HWND hwnd);
    void OnDestroy();

    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    HWND m_hiddenWindow = nullptr;
    HWND m_windowSeen = nullptr;   // as the window procedure saw it at creation
    UniqueHmodule m_resources;     // the resource library this object loaded

    // The window procedure reaches the module through this.
    static inline CQKIPCSrvUIModule* s_instance = nullptr;
    static inline LONG s_exitCode = 0;
};
