#include "module/IPCSrvUIModule.h"

HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::NondelegatingQueryInterface(REFIID iid, void** object) {
    if (!object) return E_INVALIDARG;
    if (iid == __uuidof(IVelUIModule)) return FinishQI(static_cast<IVelUIModule*>(this), object);
    return CUnknown::NondelegatingQueryInterface(iid, object);
}

// The help page lookup is not built yet: the class can be created and counted,
// but starting it reports that the operation is not available.
HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::InitModule(IVelModuleHost*, HWND) { return E_NOTIMPL; }

BOOL STDMETHODCALLTYPE CQKIPCSrvUIModule::IsModuleClosed() {
    return m_hiddenWindow == nullptr || !::IsWindow(m_hiddenWindow);
}

HWND STDMETHODCALLTYPE CQKIPCSrvUIModule::GetModuleWindow() { return m_hiddenWindow; }

HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::ShowModule(BOOL) { return m_hiddenWindow ? S_OK : E_FAIL; }

HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::UninitModule() { return S_OK; }
