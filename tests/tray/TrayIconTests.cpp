// The tray icon as the shell and the main frame see it: its record, its
// reactions to the tooltip, image and balloon events, and what the real
// notification area shows.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ModuleState.h"
#include "UniqueHandle.h"
#include "MainFrame.h"
#include "HostEvents.h"
#include "TrayIcon.h"
#include "support/ResourceEnvironment.h"
#include "support/TestSupport.h"
#include "support/TestHost.h"
#include "tray/TrayView.h"

namespace {
constexpr UINT kCallback = 1329;
constexpr UINT kId = 246;
constexpr UINT kBaseFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::ResourceEnvironment);

HICON LoadIcon16(UINT id) {
    return static_cast<HICON>(
        ::LoadImageW(ModuleState::ResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(owner.valid());
        ASSERT_TRUE(signedOut.valid() && signedIn.valid());
        frame.SetApplication(host.app);
    }
    void TearDown() override {
        icon.Destroy();
        testsupport::PumpPending();
    }
    [[nodiscard]] size_t Listeners(UINT code) const { return host.app->Bus().ListenerCount(code); }

    TestHost host;
    CMainFrame frame;  // not created: it only lends its host to the bus helpers
    UniqueHwnd owner{::CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr)};
    // Our own copies, for finding the images on screen after the icon's are gone.
    UniqueHicon signedOut{LoadIcon16(CTrayIcon::kSignedOutIcon)};
    UniqueHicon signedIn{LoadIcon16(CTrayIcon::kSignedInIcon)};
    CTrayIcon icon;
};
}  // namespace

TEST_F(TrayIconTest, CreateNeedsAnOwnerAndAnIdentifier) {
    EXPECT_EQ(FALSE, icon.Create(nullptr, kCallback, kId));
    EXPECT_EQ(FALSE, icon.Create(owner.get(), kCallback, 0));
    EXPECT_EQ(0u, Listeners(VelEvent::TrayImageState));
    EXPECT_EQ(FALSE, icon.Add()) << "nothing to put back";
    EXPECT_FALSE(trayview::Shows(signedOut.get()));
}

TEST_F(TrayIconTest, CreateAddsTheSignedOutImageAndListens) {
    ASSERT_NE(FALSE, icon.Create(owner.get(), kCallback, kId));

    const NOTIFYICONDATAW& record = icon.Record();
    EXPECT_EQ(sizeof(void*) == 8 ? 952u : 936u, record.cbSize);
    EXPECT_EQ(kCallback, record.uCallbackMessage);
    EXPECT_EQ(kBaseFlags, record.uFlags);
    EXPECT_NE(icon.SignedInImage(), icon.SecondSignedInImage());
    for (UINT code : {VelEvent::TrayTooltip, VelEvent::TrayImageState, VelEvent::TrayBalloon})
        EXPECT_EQ(1u, Listeners(code)) << code;
    EXPECT_TRUE(trayview::WaitUntil(signedOut.get(), true));

    icon.Destroy();
    for (UINT code : {VelEvent::TrayTooltip, VelEvent::TrayImageState, VelEvent::TrayBalloon})
        EXPECT_EQ(0u, Listeners(code)) << code;
    EXPECT_TRUE(trayview::WaitUntil(signedOut.get(), false));
    EXPECT_EQ(FALSE, icon.Remove());
}

TEST_F(TrayIconTest, ImageStateEventsSwitchTheImage) {
    ASSERT_NE(FALSE, icon.Create(owner.get(), kCallback, kId));

    FireHostEvent(VelEvent::TrayImageState, CTrayIcon::SignedIn);
    EXPECT_EQ(icon.SignedInImage(), icon.Record().hIcon);
    EXPECT_EQ(static_cast<UINT>(NIF_ICON), icon.Record().uFlags);
    EXPECT_TRUE(trayview::WaitUntil(signedIn.get(), true));

    FireHostEvent(VelEvent::TrayImageState, 5);
    EXPECT_EQ(icon.SignedInImage(), icon.Record().hIcon);

    FireHostEvent(VelEvent::TrayImageState, CTrayIcon::SecondSignedIn);
    EXPECT_EQ(icon.SecondSignedInImage(), icon.Record().hIcon);
    FireHostEvent(VelEvent::TrayImageState, CTrayIcon::ClearState);
    EXPECT_EQ(icon.SecondSignedInImage(), icon.Record().hIcon);
    EXPECT_EQ(0u, icon.StateWord());

    FireHostEvent(VelEvent::TrayImageState, CTrayIcon::SignedOut);
    EXPECT_TRUE(trayview::WaitUntil(signedOut.get(), true));
    EXPECT_FALSE(trayview::Shows(signedIn.get()));
}

TEST_F(TrayIconTest, TooltipIsCutToTheRecordAndSurvivesReAdding) {
    ASSERT_NE(FALSE, icon.Create(owner.get(), kCallback, kId));
    const std::wstring text = L"Quillkit " + std::wstring(200, L'x');

    FireHostEvent(VelEvent::TrayTooltip, reinterpret_cast<INT_PTR>(text.c_str()));
    EXPECT_EQ(text, icon.Tooltip().str());
    EXPECT_EQ(text.substr(0, 127), std::wstring(icon.Record().szTip));
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), icon.Record().uFlags);

    EXPECT_NE(FALSE, icon.Remove());
    EXPECT_TRUE(trayview::WaitUntil(signedOut.get(), false));
    EXPECT_NE(FALSE, icon.Add());
    EXPECT_EQ(kBaseFlags, icon.Record().uFlags);
    EXPECT_EQ(text.substr(0, 127), std::wstring(icon.Record().szTip));
    EXPECT_TRUE(trayview::WaitUntil(signedOut.get(), true));

    // The stored text is what a later Create starts from.
    ASSERT_NE(FALSE, icon.Create(owner.get(), kCallback, kId));
    EXPECT_EQ(text.substr(0, 127), std::wstring(icon.Record().szTip));
    EXPECT_EQ(1u, Listeners(VelEvent::TrayTooltip)) << "a second Create does not subscribe twice";
}

TEST_F(TrayIconTest, IncompleteBalloonIsRefusedAndChangesNothing) {
    ASSERT_NE(FALSE, icon.Create(owner.get(), kCallback, kId));
    const wchar_t text[] = L"Your meetings are ready.";
    const std::wstring title(100, L't');

    EXPECT_EQ(CTrayIcon::kIncompleteBalloon,
              icon.HandleEvent(VelEvent::TrayBalloon, reinterpret_cast<INT_PTR>(text), 0, 5000));
    EXPECT_EQ(CTrayIcon::kIncompleteBalloon,
              icon.HandleEvent(VelEvent::TrayBalloon, 0, reinterpret_cast<INT_PTR>(title.c_str()), 5000));
    EXPECT_STREQ(L"", icon.Record().szInfo);
    EXPECT_EQ(kBaseFlags, icon.Record().uFlags);

    EXPECT_EQ(S_OK, icon.HandleEvent(VelEvent::TrayBalloon, reinterpret_cast<INT_PTR>(text),
                                     reinterpret_cast<INT_PTR>(title.c_str()), 5000));
    EXPECT_STREQ(text, icon.Record().szInfo);
    EXPECT_EQ(title.substr(0, 63), std::wstring(icon.Record().szInfoTitle));
    EXPECT_EQ(5000u, icon.Record().uTimeout);
    EXPECT_EQ(static_cast<UINT>(NIF_INFO), icon.Record().uFlags);

    // Other events leave the record alone.
    EXPECT_EQ(S_OK, icon.HandleEvent(VelEvent::SignInSynchronized, reinterpret_cast<INT_PTR>(text), 0, 0));
    EXPECT_STREQ(L"", icon.Record().szTip);
    EXPECT_EQ(icon.SignedOutImage(), icon.Record().hIcon);
}

// The icon's events travel through the frame's host; their parameters are pointer-sized.
TEST_F(TrayIconTest, HostEventsCarryPointerSizedParametersWhole) {
    struct Listener : CVelEventListener {
        HRESULT HandleEvent(UINT, INT_PTR first, INT_PTR, INT_PTR third) override {
            received = {first, third};
            return S_OK;
        }
        std::pair<INT_PTR, INT_PTR> received;
    } listener;
    const INT_PTR wide = static_cast<INT_PTR>(0x0000123456789ABCLL);
    SubscribeHostEvent(VelEvent::TrayImageState, &listener);
    FireHostEvent(VelEvent::TrayImageState, wide, 0, -1);
    UnsubscribeHostEvents({VelEvent::TrayImageState}, &listener);
    EXPECT_EQ(std::make_pair(wide, INT_PTR{-1}), listener.received);
    EXPECT_EQ(0u, Listeners(VelEvent::TrayImageState));
}
