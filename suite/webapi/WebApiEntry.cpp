// Entry points of qkWebAPI.dll.
#include <windows.h>

#include "shared/ComServer.h"
#include "webapi/SyncObject.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (classId != CLSID_QKWebApiSync) return CLASS_E_CLASSNOTAVAILABLE;
    try {
        return CClassFactory<WebApi::CWebApiSync>::Get(iid, object);
    } catch (...) {
        return E_UNEXPECTED;
    }
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }
