// qkService.dll: the suite's settings service and meeting component.
#include <windows.h>

#include "ComRegistration.h"
#include "service/SettingsService.h"
#include "shared/ComServer.h"

namespace {
const ComClassRegistration kClasses[] = {
    {&CLSID_QKSettingsService, L"QK.SettingsService.0", L"qkService.Settings.1", L"qkService.Settings"},
    {&CLSID_QKMeetingComponent, L"QK.MeetingComponent.0", L"qkService.Meetings.1", L"qkService.Meetings"},
};
}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return ComServer::GetClassObject(classId,
                                     {ComServer::Serve<CSettingsService>(CLSID_QKSettingsService),
                                      ComServer::Serve<CMeetingComponent>(CLSID_QKMeetingComponent)},
                                     iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return Registrar::RegisterClasses(kClasses); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return Registrar::UnregisterClasses(kClasses); }
