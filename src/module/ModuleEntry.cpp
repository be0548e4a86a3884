// The library's four exported entry points.
#include <windows.h>

#include <wrl/client.h>

#include <new>

#include "ComHolders.h"
#include "ComRegistration.h"
#include "ModuleState.h"
#include "ClassTable.h"
#include "Factory.h"
#include "ModuleRelease.h"
#include "SJUISetting.h"

// Runs under the loader lock: what the module holds for the process was given
// back when the desktop client stopped or when COM asked whether it may unload.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
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
    if (ComCounters::ActiveComponents() != 0 || ComCounters::ServerLocks() > 0) return S_FALSE;
    // The library may go next: what it still holds goes now, outside the loader lock.
    ReleaseProcessWideState();
    return S_OK;
}

// Every row is written as far as it can be; the first failure is reported.
extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    try {
        return Registrar::RegisterClasses(ClassRegistrations());
    } catch (...) {
        return E_UNEXPECTED;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    try {
        (void)Registrar::UnregisterClasses(ClassRegistrations());
    } catch (...) {
    }
    return S_OK;
}
