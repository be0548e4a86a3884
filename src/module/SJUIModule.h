#pragma once
// The desktop-client module object: one per session, it owns the main frame.
#include <windows.h>
#include <wrl/client.h>

#include <memory>

#include "VelModuleHost.h"
#include "VelUIModule.h"
#include "UniqueHandle.h"
#include "Unknown.h"

class CMainFrame;

class CSJUIModule : public CUnknown, public IVelUIModule {
public:
    explicit CSJUIModule(IUnknown* outer);
    ~CSJUIModule() override;

    DECLARE_FORWARDING_IUNKNOWN()
    HRESULT STDMETHODCALLTYPE NondelegatingQueryInterface(REFIID iid, void** object) override;

    // IVelUIModule
    HRESULT STDMETHODCALLTYPE InitModule(IVelModuleHost* host, HWND owner) override;
    BOOL STDMETHODCALLTYPE IsModuleClosed() override;
    HWND STDMETHODCALLTYPE GetModuleWindow() override;
    HRESULT STDMETHODCALLTYPE ShowModule(BOOL show) override;
    HRESULT STDMETHODCALLTYPE UninitModule() override;

    // The command-line record tag and the exit marker understood by a running frame.
    static constexpr ULONG_PTR kCopyDataTag = 0xFFFFFFFF;
    static constexpr WPARAM kExitMarker = 0xFFFFFFFF;
    static constexpr UINT kForwardTimeoutMs = 100;

private:
    HRESULT StartUp(IVelModuleHost* host);
    void ForwardToRunningInstance(HWND running, bool close, IVelModuleHost* host);

    UniqueHmodule m_resources;  // the resource library this object loaded; freed last
    std::unique_ptr<CMainFrame> m_mainFrame;
    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    bool m_settingsStarted = false;
};
