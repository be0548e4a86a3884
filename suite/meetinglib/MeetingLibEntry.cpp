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

// The desktop client loads this library for every meeting action and frees it
// again. Set up anew on every load, this library's own copy of the C++ runtime
// keeps one thread-local slot each time (and some memory) until the process
// has none left and aborts, about a thousand actions into a session: from its
// first load on, the library stays in memory.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        HMODULE pinned = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                             reinterpret_cast<LPCWSTR>(instance), &pinned);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return ComServer::GetClassObject(classId,
                                     {ComServer::Serve<MeetingLib::CMeetingOperations>(CLSID_QKMeetingOperations),
                                      ComServer::Serve<MeetingLib::CMeetingPages>(CLSID_QKMeetingPages)},
                                     iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return Registrar::RegisterClasses(kClasses); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() { return Registrar::UnregisterClasses(kClasses); }
