#pragma once
// The invisible help module: opens the help page for the user's site and ends.
#include <windows.h>

#include "VelModuleHost.h"
#include "VelUIModule.h"
#include "module/Unknown.h"

class CQKIPCSrvUIModule : public CUnknown, public IVelUIModule {
public:
    explicit CQKIPCSrvUIModule(IUnknown* outer) : CUnknown(outer) {}

    DECLARE_FORWARDING_IUNKNOWN()
    HRESULT STDMETHODCALLTYPE NondelegatingQueryInterface(REFIID iid, void** object) override;

    // IVelUIModule
    HRESULT STDMETHODCALLTYPE InitModule(IVelModuleHost* host, HWND owner) override;
    BOOL STDMETHODCALLTYPE IsModuleClosed() override;
    HWND STDMETHODCALLTYPE GetModuleWindow() override;
    HRESULT STDMETHODCALLTYPE ShowModule(BOOL show) override;
    HRESULT STDMETHODCALLTYPE UninitModule() override;

private:
    HWND m_hiddenWindow = nullptr;
};
