// The frame's own reactions to window messages, host events and the sign-in
// state, on a real window and the real host's bus.
#include <cstring>
#include <vector>

#include "ModuleState.h"
#include "StringEx.h"
#include "support/FrameFixture.h"

using namespace frametest;

namespace {
const Received kBare17{VelEvent::MainFrameHidden, 0, 0, 0, {}};

TEST_F(FrameTest, CloseBoxHidesAndExitAsksTheHostWithoutHiding) {
    // Only the zero-extended marker means exit; all bits set is a plain close.
    for (const WPARAM plain : {WPARAM{0}, ~WPARAM{0}}) {
        ::ShowWindow(frame->m_hWnd, SW_SHOWNA);
        ::SendMessageW(frame->m_hWnd, WM_CLOSE, plain, 0);
        EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd)) << plain;
        EXPECT_FALSE(host.app->CloseRequested()) << plain;
    }
    EXPECT_EQ(2u, Events(VelEvent::MainFrameHidden).size());

    ::ShowWindow(frame->m_hWnd, SW_SHOWNA);
    ::SendMessageW(frame->m_hWnd, WM_CLOSE, CMainFrame::kExitMarker, 0);
    EXPECT_TRUE(host.app->CloseRequested());
    EXPECT_EQ(0, host.app->RequestedExitCode());
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd)) << "exit does not hide first";
    EXPECT_EQ((std::vector<Received>{kBare17, kBare17, kBare17}), Events(VelEvent::MainFrameHidden));
    EXPECT_TRUE(frame->IsWindow()) << "closing never destroys the frame";
}

TEST_F(FrameTest, DeactivationAndMinimisingCloseThePopups) {
    ::SendMessageW(frame->m_hWnd, WM_ACTIVATEAPP, TRUE, 0);
    ::SendMessageW(frame->m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(100, 100));
    EXPECT_TRUE(listener.received.empty());
    ::SendMessageW(frame->m_hWnd, WM_ACTIVATEAPP, FALSE, 0);
    ::SendMessageW(frame->m_hWnd, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ((std::vector<Received>{{VelEvent::CloseBubble, 0, 0, 0, {}}, kBare17}), listener.received);
}

TEST_F(FrameTest, ListensToItsHostEventsWhileItsWindowLives) {
    auto& bus = host.app->Bus();
    EXPECT_EQ(1u, bus.ListenerCount(VelEvent::SignInSynchronized));
    EXPECT_EQ(1u, bus.ListenerCount(VelEvent::MessagingIdentity));
    frame->DestroyWindow();
    EXPECT_EQ(0u, bus.ListenerCount(VelEvent::SignInSynchronized));
    EXPECT_EQ(0u, bus.ListenerCount(VelEvent::MessagingIdentity));
}

TEST_F(FrameTest, SignedInNeedsTheEventAndAHiddenLoginWindow) {
    EXPECT_FALSE(frame->IsSignedIn()) << "nothing signalled";
    sign.Set();
    EXPECT_FALSE(frame->IsSignedIn()) << "no login module";
    frame->SetLoginModule(login.Get(), {});
    EXPECT_TRUE(frame->IsSignedIn());
    login->ShowModule(TRUE);
    EXPECT_FALSE(frame->IsSignedIn()) << "the login window is on screen";
    login->ShowModule(FALSE);
    sign.Reset();
    EXPECT_FALSE(frame->IsSignedIn());
    sign.Set();
    ::DestroyWindow(login->GetModuleWindow());
    EXPECT_FALSE(frame->IsSignedIn()) << "the login window is gone";
}

TEST_F(FrameTest, DestroyingTheFrameUnloadsTheLoginModule) {
    frame->SetLoginModule(login.Get(), {});
    EXPECT_EQ(2u, login->References());
    frame->DestroyWindow();
    EXPECT_EQ(1, login->uninitCalls);
    EXPECT_EQ(1u, login->References());
    EXPECT_EQ(nullptr, frame->GetLoginModule());
}

TEST_F(FrameTest, MeetingChangesEndInOneRefreshAfterTheLast) {
    frame->OnMeetingChanged(L"<meetings/>");
    EXPECT_FALSE(TimerWasRunning(CMainFrame::kMeetingChangeTimer)) << "signed out: no refresh";
    EXPECT_EQ(L"<meetings/>", frame->LastMeetingsDocument());

    SignIn();
    for (int i = 0; i < 3; ++i) {
        frame->OnMeetingChanged(L"<meetings><meeting/></meetings>");
        testsupport::PumpUntil([] { return false; }, 50);
    }
    EXPECT_TRUE(TakeCommands().empty()) << "the refresh waits for the burst to end";
    ::SendMessageW(frame->m_hWnd, WM_TIMER, CMainFrame::kMeetingChangeTimer, 0);
    EXPECT_EQ(std::vector<WPARAM>{CMainFrame::kAutoRefresh}, TakeCommands());
    EXPECT_FALSE(TimerWasRunning(CMainFrame::kMeetingChangeTimer)) << "the timer fires once";

    frame->OnMeetingChanged(L"<meetings/>");
    EXPECT_TRUE(TimerWasRunning(CMainFrame::kMeetingChangeTimer));
}

TEST_F(FrameTest, RefreshRequestsAndGoingTodayNeedTheSignedInState) {
    auto requestAll = [&] {
        ::SendMessageW(frame->m_hWnd, CMainFrame::kRefreshRequestMessage, 7, 0);
        ::SendMessageW(frame->m_hWnd, WM_SETTINGCHANGE, 0, 0);
        frame->MeetingListGoToday();
    };
    requestAll();
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_TRUE(Events(VelEvent::ShowDay).empty());

    SignIn();
    requestAll();
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(CMainFrame::kRefreshCommand, 7), CMainFrame::kAutoRefresh}),
              TakeCommands());
    EXPECT_EQ((std::vector<Received>{{VelEvent::ShowDay, 0, 0, 0, {}}}), Events(VelEvent::ShowDay));
}

TEST_F(FrameTest, ATimeChangeRefreshesOnlyWhenTheZoneChanged) {
    SignIn();
    ::SendMessageW(frame->m_hWnd, WM_TIMECHANGE, 0, 0);
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_TRUE(Events(VelEvent::ShowDay).empty());

    TIME_ZONE_INFORMATION current = frame->TimeZoneSnapshot();
    TIME_ZONE_INFORMATION earlier = current;
    earlier.Bias += 60;
    frame->SetTimeZoneSnapshot(earlier);
    ::SendMessageW(frame->m_hWnd, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(std::vector<WPARAM>{CMainFrame::kAutoRefresh}, TakeCommands());
    EXPECT_EQ(1u, Events(VelEvent::ShowDay).size()) << "back to today";
    EXPECT_EQ(0, std::memcmp(&current, &frame->TimeZoneSnapshot(), sizeof(current))) << "the new zone is kept";

    // Signed out, the new zone is still taken, silently.
    sign.Reset();
    frame->SetTimeZoneSnapshot(earlier);
    ::SendMessageW(frame->m_hWnd, WM_TIMECHANGE, 0, 0);
    EXPECT_TRUE(TakeCommands().empty());
    EXPECT_EQ(0, std::memcmp(&current, &frame->TimeZoneSnapshot(), sizeof(current)));
}

}  // namespace
