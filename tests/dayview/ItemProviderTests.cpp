// Items filled from the records the real data provider reads from the real
// web-API component.
#include "ItemFixture.h"
#include "MeetingDataProvider.h"
#include "webapi/MeetingStore.h"
#include "webapi/WebApiLibrary.h"

using namespace itemtest;
using namespace webapitest;

TEST_F(ItemTest, ItemsShowTheProvidersRecordsAndActOnThem) {
    MeetingStore store;
    const DATE day = Today();
    store.Write({StoreMeeting(L"Q&A with sales", At(day, 9, 30), At(day, 10, 30))
                     .Set(L"meetingKey", L"555000111")
                     .Set(L"confKey", L"ck-1")
                     .Set(L"meetingPassword", L"secret")
                     .Set(L"siteUrl", L"https://acme.example.com/acme")
                     .Set(L"host/displayName", L"Bob")
                     .Set(L"meetingStatus", L"inProgress")
                     .Set(L"meetingPrivilege", L"host")
                     .Set(L"serviceType", L"RZ"),
                 StoreMeeting(L"Design", At(day, 14, 0), At(day, 15, 0))
                     .Set(L"meetingKey", L"555000222")
                     .Set(L"meetingStatus", L"upcoming")
                     .Set(L"meetingPrivilege", L"alterhost")});
    Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
    ASSERT_EQ(S_OK, frame->GetSyncObject(sync.GetAddressOf(), FALSE));
    ASSERT_EQ(2, Synchronise(sync.Get(), 0.0, 0.0));
    CMeetingDataProvider provider(frame.get());
    provider.ResetDay(&now);
    provider.LoadDay(FALSE);
    ASSERT_EQ(2, provider.GetMeetingCount());

    CMeetingRecord running, later;
    ASSERT_EQ(S_OK, provider.GetMeeting(0, &running));
    ASSERT_EQ(S_OK, provider.GetMeeting(1, &later));
    CItemWnd& tall = ShowMeeting(running);
    CItemWnd& normal = ShowMeeting(later);
    ASSERT_TRUE(tall.IsTall());
    ASSERT_FALSE(normal.IsTall());
    EXPECT_EQ(L"Q&&A with sales", ControlText(tall, CItemWnd::kIdTopic).str());
    EXPECT_EQ(L"Host: Bob | 1 hour", ControlText(tall, CItemWnd::kIdHostLine).str());
    EXPECT_EQ(Resource(CItemWnd::kInProgressString).str(), ControlText(tall, CItemWnd::kIdStatusLabel).str());
    // An alternate host's meeting four hours ahead offers nothing yet, even under the cursor.
    if (PutCursorOn(&normal)) {
        HoverTick(normal);
        EXPECT_FALSE(Visible(normal, CItemWnd::kIdMeetingButton));
    }

    TakeCalls();
    ::SendMessageW(tall.m_hWnd, WM_COMMAND, MAKEWPARAM(CItemWnd::kIdMeetingButton, BN_CLICKED), 0);
    const std::vector<std::wstring> calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(0u, calls[0].find(L"JoinMeeting\towner=" + commandtest::HandleText(frame->m_hWnd) +
                                L"\tkey=555000111\tpassword=secret\tsite=https://acme.example.com/acme\tvalue=1\tkey2=ck-1"));

    ::SendMessageW(normal.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    ASSERT_EQ(1u, bubbles.requests.size());
    EXPECT_EQ(1, bubbles.requests[0].index);
}
