#include "ProviderFixture.h"

#include <string>

#include "Clock.h"
#include "ModuleState.h"
#include "TimeApi.h"
#include "support/TestSupport.h"
#include "webapi/WebApiLibrary.h"

using namespace webapitest;

void ProviderTest::SetUp() {
    resources.reset(::LoadLibraryExW((testsupport::BinFolder() + L"qksjres.dll").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE));
    ModuleState::SetResourceInstance(resources.get());
    SetNow(At(Today(), 10, 0));
    frame.emplace();
}

void ProviderTest::TearDown() {
    provider.reset();
    frame.reset();
    Clock::PinLocalNow(nullptr);
    ModuleState::SetResourceInstance(nullptr);
}

void ProviderTest::SetNow(DATE value) {
    now = value;
    Clock::PinLocalNow(&now);
}

void ProviderTest::Publish(const std::vector<StoreMeeting>& meetings) {
    store.Write(meetings);
    Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
    ASSERT_EQ(S_OK, frame->GetSyncObject(sync.GetAddressOf(), FALSE));
    ASSERT_EQ(2, Synchronise(sync.Get(), 0.0, 0.0));
}

CMeetingDataProvider& ProviderTest::Show(std::optional<DATE> day) {
    provider = std::make_unique<CMeetingDataProvider>(&*frame);
    const DATE shown = day.value_or(now);
    provider->ResetDay(&shown);
    provider->LoadDay(FALSE);
    return *provider;
}

CMeetingRecord ProviderTest::Record(UINT32 index) {
    CMeetingRecord record;
    EXPECT_EQ(S_OK, provider->GetMeeting(index, &record)) << index;
    return record;
}

std::pair<INT32, INT32> Window(CMeetingDataProvider& provider) {
    return {provider.GetFirstVisibleIndex(), provider.GetLastVisibleIndex()};
}
