#include "webapi/WebApiLibrary.h"

#include "ComHolders.h"
#include "support/TestSupport.h"

namespace webapitest {
WebApiLibrary::WebApiLibrary()
    : m_library(::LoadLibraryW((testsupport::BinFolder() + L"qkWebAPI.dll").c_str())) {
    if (!m_library) return;
    GetClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(m_library.get(), "DllGetClassObject"));
    CanUnloadNow = reinterpret_cast<CanUnloadNowFn>(::GetProcAddress(m_library.get(), "DllCanUnloadNow"));
}

Microsoft::WRL::ComPtr<IQKWebApiSync> WebApiLibrary::Create() const {
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
    if (!GetClassObject ||
        FAILED(GetClassObject(CLSID_QKWebApiSync, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()))))
        return sync;
    factory->CreateInstance(nullptr, __uuidof(IQKWebApiSync), reinterpret_cast<void**>(sync.GetAddressOf()));
    return sync;
}

LONG Synchronise(IQKWebApiSync* sync, DATE from, DATE to) {
    if (FAILED(sync->StartSync(from, to, nullptr))) return -1;
    LONG status = WebApiSyncStatus::Running;
    testsupport::PumpUntil(
        [&] { return SUCCEEDED(sync->GetSyncStatus(&status)) && status != WebApiSyncStatus::Running; }, 5000);
    return status;
}

std::wstring Query(IQKWebApiSync* sync, DATE from, DATE to) {
    Bstr xml;
    if (FAILED(sync->QueryMeetings(2, from, to, xml.receive()))) return L"<failed/>";
    return xml.str();
}
}  // namespace webapitest
