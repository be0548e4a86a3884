// Entry points of qkWebAPI.dll.
#include <windows.h>

#include "shared/ComServer.h"
#include "webapi/SyncObject.h"

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return ComServer::GetClassObject(classId, {ComServer::Serve<WebApi::CWebApiSync>(CLSID_QKWebApiSync)}, iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }
