// qkIstMt.dll: the suite's meetings library.
#include <windows.h>

#include "ComRegistration.h"
#include "meetinglib/MeetingOperations.h"
#include "meetinglib/MeetingPages.h"
#include "shared/ComServer.h"

namespace {
const ComClassRegistration kClasses[] = {
    {&CLSID_QKMeetingOperations, L"QK.MeetingOperations.0", L"qkIstMt.Operations.1", L"qkIstMt.Operations"},
    {&CLSID_QKMeetingPages, L"QK.MeetingPages.0", L"qkIstMt.Pages.1", L"qkIstMt.Pages"},
};
}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return ComServer::GetClassObject(classId,
                                     {ComServer::Serve<MeetingLib::CMeetingOperations>(CLSID_QKMeetingOperations),
                                      ComServer::Serve<MeetingLib::CMeetingPages>(CLSID_QKMeetingPages)},
                                     iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return Registrar::RegisterClasses(kClasses); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return Registrar::UnregisterClasses(kClasses); }
