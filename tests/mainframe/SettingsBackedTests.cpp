// What the frame reads from the suite's settings service and meeting
// component, registered for the test as the real in-process servers.
#include <wrl/client.h>

#include "Clock.h"
#include "QkServiceInterfaces.h"
#include "ComHolders.h"
#include "support/FrameFixture.h"
#include "TimeApi.h"
#include "support/ModuleLibrary.h"
#include "SJUISetting.h"

using Microsoft::WRL::ComPtr;
using namespace frametest;

namespace {
const wchar_t kZ11Account[] =
    L"<Settings><Account><SiteName>acme.example.com</SiteName><UserName>ann</UserName>"
    L"<Z11SiteName>a.b.c/x</Z11SiteName></Account></Settings>";
const wchar_t kPlainAccount[] = L"<Settings><Account><SiteName>acme.example.com</SiteName></Account></Settings>";

ComPtr<IQKSuiteState> SuiteState(const CLSID& id) {
    ComPtr<IQKSuiteState> state;
    ::CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state));
    return state;
}

class Activation : public FrameTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Loaded() && service.RegisterServer);
        FrameTest::SetUp();
        ASSERT_EQ(S_OK, SuiteState(CLSID_QKSettingsService)->SetAccountDocument(Bstr(kZ11Account).get()));
        ASSERT_TRUE(CSJUISetting::GetInstance()->Initialize());
        Clock::PinLocalNow(&start);
        // Made active for real, so that no activation of the window system
        // arrives later in the middle of a test.
        ::ShowWindow(frame->m_hWnd, SW_SHOW);
        ::SetForegroundWindow(frame->m_hWnd);
        ::SetActiveWindow(frame->m_hWnd);
        ASSERT_TRUE(testsupport::PumpUntil([&] { return ::GetActiveWindow() == frame->m_hWnd; }, 2000));
        // The list had never been refreshed: the first activation did it.
        EXPECT_EQ(start, frame->LastRefreshTime());
    }
    void TearDown() override {
        Clock::PinLocalNow(nullptr);
        FrameTest::TearDown();
        CSJUISetting::ReleaseInstance();
    }
    // Activates the frame at `start` plus `seconds`; the refreshes it posted.
    size_t ActivateAt(LONG seconds, WPARAM how = WA_ACTIVE) {
        const DATE now = CTimeApi::AddSeconds(start, seconds);
        Clock::PinLocalNow(&now);
        TakeCommands();
        ::SendMessageW(frame->m_hWnd, WM_ACTIVATE, how, 0);
        size_t refreshes = 0;
        for (WPARAM command : TakeCommands()) refreshes += command == CMainFrame::kAutoRefresh;
        return refreshes;
    }

    RegisteredService service{testsupport::BinFolder() + L"..\\"};
    const DATE start = 45000.5;  // a fixed noon
};

TEST_F(Activation, RefreshesAListOlderThanTenMinutes) {
    EXPECT_EQ(0u, ActivateAt(600));
    EXPECT_EQ(1u, ActivateAt(601));
    EXPECT_EQ(CTimeApi::AddSeconds(start, 601), frame->LastRefreshTime());
    EXPECT_EQ(0u, ActivateAt(1000, WA_CLICKACTIVE));
    EXPECT_EQ(1u, ActivateAt(1202, WA_CLICKACTIVE));
}

TEST_F(Activation, OnlyAVisibleRestoredActivationOnAZ11SiteCounts) {
    EXPECT_EQ(0u, ActivateAt(700, WA_INACTIVE));
    EXPECT_EQ(0u, ActivateAt(700, MAKEWPARAM(WA_ACTIVE, 1))) << "minimised";
    ::ShowWindow(frame->m_hWnd, SW_HIDE);
    EXPECT_EQ(0u, ActivateAt(700)) << "hidden";
    ASSERT_TRUE(CSJUISetting::GetInstance()->LoadAccount(Bstr(kPlainAccount).get()));
    ::ShowWindow(frame->m_hWnd, SW_SHOW);
    EXPECT_EQ(0u, ActivateAt(700)) << "no Z11 site";
    CSJUISetting::ReleaseInstance();
    EXPECT_EQ(0u, ActivateAt(700)) << "no settings object";
    EXPECT_EQ(start, frame->LastRefreshTime());
}

TEST_F(Activation, AZoneChangeForgetsTheLastRefresh) {
    SignIn();
    TIME_ZONE_INFORMATION other = frame->TimeZoneSnapshot();
    other.Bias -= 30;
    frame->SetTimeZoneSnapshot(other);
    ::SendMessageW(frame->m_hWnd, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(0.0, frame->LastRefreshTime());
    EXPECT_EQ(1u, ActivateAt(1)) << "the next activation refreshes at once";
    EXPECT_EQ(CTimeApi::AddSeconds(start, 1), frame->LastRefreshTime());
}

class RunningMeetings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.Loaded() && service.RegisterServer); }
    LONG StatusWith(const wchar_t* running, const wchar_t* key, LONG* flag) {
        if (running) {
            EXPECT_EQ(S_OK, SuiteState(CLSID_QKMeetingComponent)->SetRunningMeetings(Bstr(running).get()));
        }
        return CMainFrame::QueryLocalMeetingStatus(key, flag);
    }
    RegisteredService service{testsupport::BinFolder() + L"..\\"};
};

TEST_F(RunningMeetings, FindsTheKeyAndNotesAStarUserType) {
    const wchar_t* hostThenStar =
        L"<meetings><meeting><meetingKey>AbC</meetingKey><userType>host</userType></meeting>"
        L"<meeting><meetingKey>9</meetingKey><userType>*</userType></meeting></meetings>";
    const wchar_t* emptyKey = L"<meetings><meeting><meetingKey/><userType>host</userType></meeting></meetings>";
    const struct {
        const wchar_t* running;
        const wchar_t* key;
        LONG status;
        LONG flag;
    } cases[] = {
        {hostThenStar, L"abc", CMainFrame::kMeetingRunning, 0},     // found first: the walk ends before the "*"
        {hostThenStar, L"9", CMainFrame::kMeetingRunning, 1},
        {hostThenStar, L"7", CMainFrame::kMeetingNotRunning, 1},
        {emptyKey, L"", CMainFrame::kMeetingNotRunning, 0},          // an empty key never matches
        {L"<meetings/>", L"9", 0, 0},
    };
    for (const auto& c : cases) {
        LONG flag = 0;
        EXPECT_EQ(c.status, StatusWith(c.running, c.key, &flag)) << c.running << " " << c.key;
        EXPECT_EQ(c.flag, flag) << c.running << " " << c.key;
    }
    EXPECT_EQ(CMainFrame::kMeetingNotRunning, StatusWith(hostThenStar, L"7", nullptr)) << "the flag is optional";
}
}  // namespace
