// The web-API component through its exports: synchronisation status and the
// day query over a store the test writes.
#include <gtest/gtest.h>

#include "ComHolders.h"
#include "webapi/MeetingStore.h"
#include "webapi/WebApiLibrary.h"

using namespace webapitest;

namespace {
class WebApi : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.Loaded()); }

    WebApiLibrary library;
    MeetingStore store;
    const DATE day = Today() + 3;  // a future day keeps statuses out of the way
};

// Both ends of the range belong to it; 18:00 is exact in the store's text.
TEST_F(WebApi, QueryAnswersTheMeetingsStartingInTheRangeOrderedByStart) {
    store.Write({
        StoreMeeting(L"late", At(day, 16, 0), At(day, 17, 0)),
        StoreMeeting(L"next day", At(day + 1, 9, 0), At(day + 1, 10, 0)),
        StoreMeeting(L"early", At(day, 0, 0), At(day, 9, 0)),
        StoreMeeting(L"noon A", At(day, 12, 0), At(day, 13, 0)),
        StoreMeeting(L"day before, into the day", At(day - 1, 23, 30), At(day, 0, 30)),
        StoreMeeting(L"noon B", At(day, 12, 0), At(day, 12, 30)),
        StoreMeeting(L"at the end", At(day, 18, 0), At(day, 18, 30)),
        StoreMeeting(L"after the end", At(day, 18, 1), At(day, 18, 30)),
    });
    auto sync = library.Create();
    const std::wstring answer = Query(sync.Get(), At(day, 0, 0), At(day, 18, 0));
    const std::vector<std::wstring> expected = {L"early", L"noon A", L"noon B", L"late", L"at the end"};
    EXPECT_EQ(expected, XmlValues(answer, L"/meetings/meeting/meetingTopic"));
    // The data provider takes the root's children by position: nothing may stand between them.
    EXPECT_EQ(std::wstring::npos, answer.find(L">\n<")) << answer.substr(0, 200);
    EXPECT_EQ(std::wstring::npos, answer.find(L">  <"));
    EXPECT_EQ(5u, XmlValues(answer, L"/meetings/node()").size());
}

TEST_F(WebApi, QueryOfAnEmptyRangeOrABrokenStoreIsEmpty) {
    store.Write({StoreMeeting(L"only", At(day, 8, 0), At(day, 9, 0))});
    auto sync = library.Create();
    EXPECT_EQ(L"", Query(sync.Get(), At(day + 1, 0, 0), At(day + 1, 23, 59, 59)));

    store.WriteText("<meetings><meeting>");
    EXPECT_EQ(L"", Query(sync.Get(), At(day, 0, 0), At(day, 23, 59, 59)));
    store.WriteText("<calendar><meeting><startTime>1</startTime></meeting></calendar>");
    EXPECT_EQ(L"", Query(sync.Get(), 0.0, 100000.0)) << "another root is not a meetings store";
    ::DeleteFileW(store.Path().c_str());
    EXPECT_EQ(L"", Query(sync.Get(), 0.0, 100000.0)) << "a missing store is not the demo";
}

TEST_F(WebApi, QueryRefusesOtherListTypesAndANullOutput) {
    auto sync = library.Create();
    Bstr xml;
    EXPECT_EQ(E_INVALIDARG, sync->QueryMeetings(1, day, day + 1, xml.receive()));
    EXPECT_EQ(nullptr, xml.get());
    EXPECT_EQ(E_POINTER, sync->QueryMeetings(2, day, day + 1, nullptr));
}

TEST_F(WebApi, OnlyASuccessfulSynchronisationTakesUpAChangedStore) {
    const DATE from = At(day, 0, 0), to = At(day, 23, 59, 59);
    store.Write({StoreMeeting(L"first", At(day, 8, 0), At(day, 9, 0))});
    auto sync = library.Create();
    const auto topics = [&] { return XmlValues(Query(sync.Get(), from, to), L"//meetingTopic"); };
    ASSERT_EQ(2, Synchronise(sync.Get(), from, to));

    store.Write({StoreMeeting(L"second", At(day, 8, 0), At(day, 9, 0))});
    EXPECT_EQ(std::vector<std::wstring>{L"first"}, topics());
    MeetingStore::SetSyncStatus(33);
    ASSERT_EQ(33, Synchronise(sync.Get(), from, to));
    EXPECT_EQ(std::vector<std::wstring>{L"first"}, topics());
    MeetingStore::SetSyncStatus(2);
    ASSERT_EQ(2, Synchronise(sync.Get(), from, to));
    EXPECT_EQ(std::vector<std::wstring>{L"second"}, topics());
}
}  // namespace
