// The meeting list view inside a real frame: synchronisation with the real
// web-API component, its outcomes, and the sign-in flow that brings the
// meetings window up.
#include <gtest/gtest.h>

#include "DailyView.h"
#include "MeetingDataProvider.h"
#include "MeetingListView.h"
#include "TimeApi.h"
#include "support/CommandFixture.h"
#include "webapi/MeetingStore.h"

using namespace commandtest;
using webapitest::At;
using webapitest::MeetingStore;
using webapitest::StoreMeeting;
using webapitest::Today;

namespace {
class ListViewTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        synchronisation.SetDword(L"SJEnable", 1);
        MeetingStore::SetSyncMilliseconds(200);
        store.Write({StoreMeeting(L"Standup", At(Today(), 9, 0), At(Today(), 9, 30)),
                     StoreMeeting(L"Review", At(Today(), 15, 0), At(Today(), 16, 0))});
        SignIn();
        list = frame->ListView();
        ASSERT_NE(nullptr, list);
        ASSERT_TRUE(list->IsWindow());
    }
    void TearDown() override {
        if (list) list->SetActive(FALSE);
        CommandTest::TearDown();
    }

    bool SyncPolling() const { return ::KillTimer(list->m_hWnd, CMeetingListView::kTimerSyncPoll) != FALSE; }
    bool WaitForSynchronisation() {
        return testsupport::PumpUntil([this] { return !list->IsSynchronising(); }, 5000);
    }

    MeetingStore store;
    SavedRegistryValues synchronisation{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", {L"SJEnable"}};
    CMeetingListView* list = nullptr;
};
}  // namespace

TEST_F(ListViewTest, TheFrameSitsAtTheBottomRightOfTheWorkAreaAndTakesThePlaceOfTheSignIn) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT placed{};
    ::GetWindowRect(frame->m_hWnd, &placed);
    EXPECT_EQ(work.right - 40, placed.right);
    EXPECT_EQ(work.bottom - 5, placed.bottom);
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd)) << "hidden until signed in";

    const RECT place{100, 80, 100 + placed.right - placed.left, 80 + placed.bottom - placed.top};
    // What the login module does once the user is signed in.
    host.app->Bus().Fire(VelEvent::SignInSynchronized, 1, 0, reinterpret_cast<INT_PTR>(&place));
    RECT moved{};
    ::GetWindowRect(frame->m_hWnd, &moved);
    EXPECT_TRUE(::EqualRect(&place, &moved));
    EXPECT_TRUE(list->IsActive());
    // The first synchronisation after a sign-in follows at once.
    ASSERT_TRUE(testsupport::PumpUntil([this] { return list->IsSynchronising(); }, 2000));
    ASSERT_TRUE(WaitForSynchronisation());
    EXPECT_EQ(2, list->Provider()->GetMeetingCount());
}

TEST_F(ListViewTest, ASynchronisationPollsWithTheRefreshButtonBusyThenReloadsTheDay) {
    list->SetActive(TRUE);
    store.Write({StoreMeeting(L"Planning", At(Today(), 11, 0), At(Today(), 12, 0))});
    MeetingStore::SetSyncMilliseconds(600);
    Command(CMeetingListView::kIdRefresh);
    ASSERT_TRUE(list->IsSynchronising());
    EXPECT_FALSE(::IsWindowEnabled(list->RefreshButton().m_hWnd)) << "busy while the component works";
    testsupport::PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(list->IsSynchronising()) << "status 1 keeps the polling going";
    ASSERT_TRUE(WaitForSynchronisation());
    EXPECT_EQ(1, list->Provider()->GetMeetingCount()) << "the day is read again after success";
    const std::vector<frametest::Received> tips = Events(VelEvent::TrayTooltip);
    ASSERT_GE(tips.size(), 2u);
    EXPECT_EQ(testsupport::ResourceText(CMainFrame::kSyncingTooltipString), tips[tips.size() - 2].text);
    EXPECT_EQ(testsupport::ResourceText(CMainFrame::kUpToDateTooltipString), tips.back().text);
}

TEST_F(ListViewTest, WithoutTheSettingOrWhileSignedOutNothingSynchronises) {
    synchronisation.Remove(L"SJEnable");
    list->SetActive(TRUE);
    list->OnRefresh(0);
    EXPECT_FALSE(list->IsSynchronising());
    EXPECT_FALSE(SyncPolling());

    synchronisation.SetDword(L"SJEnable", 1);
    list->SetActive(FALSE);
    list->OnRefresh(0);
    EXPECT_FALSE(list->IsSynchronising()) << "an inactive list does not synchronise";
}

TEST_F(ListViewTest, AFailedSynchronisationEndsInTheMatchingSignInPath) {
    struct Case {
        DWORD status;
        UINT event;  // what the frame fires on its way to the sign-in window
    };
    for (const Case& c : {Case{19, VelEvent::SignInAgain}, Case{33, VelEvent::SignInAgain},
                          Case{20, VelEvent::SignInError}}) {
        SCOPED_TRACE(c.status);
        const size_t before = Events(c.event).size();
        MeetingStore::SetSyncStatus(c.status);
        list->SetActive(TRUE);
        list->OnRefresh(1);
        ASSERT_TRUE(WaitForSynchronisation());
        EXPECT_FALSE(list->IsActive());
        const std::vector<frametest::Received> fired = Events(c.event);
        ASSERT_EQ(before + 1, fired.size());
        if (c.event == VelEvent::SignInError) {
            EXPECT_EQ(static_cast<INT_PTR>(c.status), fired.back().first);
        }
        EXPECT_TRUE(::IsWindowEnabled(list->RefreshButton().m_hWnd));
    }
    MeetingStore::SetSyncStatus(2);
}

TEST_F(ListViewTest, GoingInactiveDuringASynchronisationStopsPollingAndTheAnimations) {
    MeetingStore::SetSyncMilliseconds(5000);
    list->SetActive(TRUE);
    list->OnRefresh(1);
    ASSERT_TRUE(list->IsSynchronising());
    const size_t states = Events(VelEvent::TrayImageState).size();
    list->SetActive(FALSE);
    EXPECT_FALSE(SyncPolling());
    EXPECT_TRUE(::IsWindowEnabled(list->RefreshButton().m_hWnd));
    EXPECT_EQ(states + 1, Events(VelEvent::TrayImageState).size());
}

TEST_F(ListViewTest, SigningOutClearsTheList) {
    list->SetActive(TRUE);
    ASSERT_EQ(2, list->Provider()->GetMeetingCount());
    Command(CMainFrame::kCmdLogOut);
    EXPECT_FALSE(list->IsActive());
    EXPECT_EQ(0, list->Provider()->GetMeetingCount());
}
