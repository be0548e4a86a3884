// qkLogin.dll: the suite's login module, created through its class object.
#include <windows.h>

#include "login/LoginModule.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // At process end the window system is going away on its own.
    if (reason == DLL_PROCESS_DETACH && !reserved) CLoginModule::UnregisterWindowClass();
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    try {
        if (classId == CLSID_QKLoginModule) return CClassFactory<CLoginModule>::Get(iid, object);
        return CLASS_E_CLASSNOTAVAILABLE;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }
