// Entry points of qkWebAPI.dll.
#include <windows.h>

#include "webapi/SyncObject.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    try {
        return WebApi::GetClassObject(classId, iid, object);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return WebApi::CanUnload() ? S_OK : S_FALSE; }
