// qkONIUI.dll, qkONIUITra.dll and qkONIUIOri.dll: the suite's settings module.
#include <windows.h>

#include "settingsui/SettingModule.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // At process end the window system is going away on its own.
    if (reason == DLL_PROCESS_DETACH && !reserved) CSettingModule::UnregisterWindowClass();
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    try {
        if (classId == CLSID_QKSettingModule) return CClassFactory<CSettingModule>::Get(iid, object);
        return CLASS_E_CLASSNOTAVAILABLE;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }
