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

// An icon's colour pixels with alpha, top-down; empty when it cannot be read.
std::vector<DWORD> IconBits(HICON icon, int size) {
    ICONINFO parts{};
    if (!icon || !::GetIconInfo(icon, &parts)) return {};
    UniqueHbitmap color(parts.hbmColor), mask(parts.hbmMask);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), size, -size, 1, 32, BI_RGB};
    std::vector<DWORD> bits(static_cast<size_t>(size) * size);
    HDC screen = ::GetDC(nullptr);
    const int rows = color ? ::GetDIBits(screen, color.get(), 0, size, bits.data(), &info, DIB_RGB_COLORS) : 0;
    ::ReleaseDC(nullptr, screen);
    return rows == size ? bits : std::vector<DWORD>{};
}

HICON WindowIcon(HWND window, WPARAM kind) {
    return reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, kind, 0));
}

std::vector<DWORD> ResourceIconBits(HMODULE library, UINT id, int size) {
    UniqueHicon icon(static_cast<HICON>(::LoadImageW(library, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
    return IconBits(icon.get(), size);
}

TEST_F(FrameTest, CreationSetsTheFramesOwnIconsAndAnnouncesTheFrame) {
    UniqueHmodule library(::LoadLibraryW((testsupport::BinFolder() + L"..\\qksjres.dll").c_str()));
    ASSERT_TRUE(library);
    frame->DestroyWindow();
    frame.reset();
    CMainFrame::UnregisterFrameClass();
    const HINSTANCE previous = ModuleState::ResourceInstance();
    ModuleState::SetResourceInstance(library.get());
    host.app->Bus().Subscribe(VelEvent::MainFrameCreated, &listener);
    frame = std::make_unique<CMainFrame>();
    frame->SetApplication(host.app);
    const bool created = frame->CreateFrame(library.get()) != nullptr;
    host.app->Bus().Unsubscribe(VelEvent::MainFrameCreated, &listener);
    ModuleState::SetResourceInstance(previous);
    ASSERT_TRUE(created);
    EXPECT_EQ((std::vector<Received>{{VelEvent::MainFrameCreated, 0, 0, 0, {}}}), Events(VelEvent::MainFrameCreated));

    const int big = ::GetSystemMetrics(SM_CXICON), small = ::GetSystemMetrics(SM_CXSMICON);
    const auto frameBig = ResourceIconBits(library.get(), CMainFrame::kFrameIconResource, big);
    const auto classBig = ResourceIconBits(library.get(), CMainFrame::kIconResource, big);
    ASSERT_FALSE(frameBig.empty());
    ASSERT_NE(frameBig, classBig) << "the two icons must differ for this test to tell them apart";
    EXPECT_EQ(frameBig, IconBits(WindowIcon(frame->m_hWnd, ICON_BIG), big));
    EXPECT_EQ(ResourceIconBits(library.get(), CMainFrame::kFrameIconResource, small),
              IconBits(WindowIcon(frame->m_hWnd, ICON_SMALL), small));
    EXPECT_EQ(classBig, IconBits(reinterpret_cast<HICON>(::GetClassLongPtrW(frame->m_hWnd, GCLP_HICON)), big));

    // Back to the fixture's frame, whose class holds nothing of this library.
    frame->DestroyWindow();
    CMainFrame::UnregisterFrameClass();
    frame = std::make_unique<CMainFrame>();
    frame->SetApplication(host.app);
    ASSERT_TRUE(frame->CreateFrame(nullptr));
}

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
