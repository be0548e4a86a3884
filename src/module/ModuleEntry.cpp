// The library's four exported entry points.
#include <windows.h>

#include <wrl/client.h>

#include <new>

#include "ComHolders.h"
#include "ComRegistration.h"
#include "ModuleState.h"
#include "ClassTable.h"
#include "Factory.h"
#include "SJUISetting.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
    // On an unload by FreeLibrary the account settings go with the module; at
    // process exit other libraries may already be gone, so nothing is touched.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) CSJUISetting::ReleaseInstance();
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    for (int i = 0; i < g_classTableCount; ++i) {
        if (!::IsEqualCLSID(*g_classTable[i].classId, classId)) continue;
        // The new class object's own reference goes once the caller has its own.
        const auto factory = AdoptReference(new (std::nothrow) CFactory(&g_classTable[i]));
        if (!factory) return E_OUTOFMEMORY;
        return factory->QueryInterface(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return (ComCounters::ActiveComponents() != 0 || ComCounters::ServerLocks() > 0) ? S_FALSE : S_OK;
}

// The module answers S_OK even when a key could not be written.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    try {
        (void)Registrar::RegisterClasses(ClassRegistrations());
    } catch (...) {
    }
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    try {
        (void)Registrar::UnregisterClasses(ClassRegistrations());
    } catch (...) {
    }
    return S_OK;
}
