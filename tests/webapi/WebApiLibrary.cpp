#include "webapi/WebApiLibrary.h"

#include "ComHolders.h"
#include "support/TestSupport.h"

namespace webapitest {
WebApiLibrary::WebApiLibrary() : ModuleLibrary(testsupport::BinFolder() + L"qkWebAPI.dll") {}

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
