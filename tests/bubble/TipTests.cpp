// The one-time tip: which side of its anchor it takes and its shape, without
// windows; then real tips with the host's real event bus, closed by event 17,
// their close button and the five-second rule.
#include <windows.h>

#include <gtest/gtest.h>

#include "HostEvents.h"
#include "NotifyFirstTime.h"
#include "NotifyLayout.h"
#include "UniqueHandle.h"
#include "ZvnUIShadowWnd.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"

using namespace NotifyLayout;

namespace {

TEST(TipLayout, OpensOnTheSideWithRoomAndPointsItsTailAtTheAnchor) {
    const SIZE screen{1280, 1024};
    const SIZE body{248, 52};
    // The tail's tip lies one pixel off the anchor, on its centre line.
    struct Case {
        int mode;
        RECT anchor;
        int code;
        POINT tip;
    } cases[] = {
        {0, {100, 400, 300, 414}, kRightOfAnchor, {301, 407}},
        {0, {900, 400, 1100, 414}, kLeftOfAnchor, {899, 407}},
        {1, {500, 100, 700, 114}, kBelowAnchor, {600, 115}},
        {2, {500, 900, 700, 914}, kAboveAnchor, {600, 899}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        ASSERT_EQ(ChooseTailCode(c.mode, c.anchor, screen), c.code);
        const Shape shape = PlaceTip(c.code, c.anchor, body);
        EXPECT_EQ(shape.window.left + shape.tail[2].x, c.tip.x);
        EXPECT_EQ(shape.window.top + shape.tail[2].y, c.tip.y);
        EXPECT_EQ(shape.body.right - shape.body.left, body.cx);
    }
}

class TipTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetEventHost(host.app);
        tip.SetMode(0);
        tip.SetBodyText(L"Earlier meetings of this day are above. Click the arrow to see them.");
    }
    void TearDown() override {
        tip.DestroyWindow();
        anchor.reset();
        testsupport::PumpPending();
        SetEventHost(nullptr);
    }
    // Shows the tip beside a 200 x 14 strip centred at (x, y).
    bool Show(int x = 300, int y = 400) {
        anchor.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"BUTTON", L"strip", WS_POPUP | WS_VISIBLE, x - 100, y - 7,
                                       200, 14, nullptr, nullptr, nullptr, nullptr));
        RECT rect{};
        ::GetWindowRect(anchor.get(), &rect);
        if (!tip.Show(anchor.get(), rect)) return false;
        ::UpdateWindow(tip.m_hWnd);
        return true;
    }

    TestHost host;
    UniqueHwnd anchor;
    CNotifyFirstTime tip;
};

TEST_F(TipTest, ShowsItsTextAndCloseButtonInsideABubbleWithATailAtTheAnchor) {
    for (int x : {300, ::GetSystemMetrics(SM_CXSCREEN) - 300}) {
        tip.DestroyWindow();
        ASSERT_TRUE(Show(x));
        const bool leftTail = tip.GetTailCode() == kRightOfAnchor;
        EXPECT_EQ(tip.GetTailCode(), x == 300 ? kRightOfAnchor : kLeftOfAnchor);
        const HWND body = ::GetDlgItem(tip.m_hWnd, CNotifyFirstTime::kIdBody);
        EXPECT_EQ(testsupport::WindowText(body), L"Earlier meetings of this day are above. Click the arrow to see them.");
        EXPECT_EQ(::GetDlgItem(tip.m_hWnd, CNotifyFirstTime::kIdTitle), nullptr) << "no title, no title control";

        // The region: the tail's tip and the body, not what lies beside the tail.
        UniqueHrgn region(::CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(tip.m_hWnd, region.get()), ERROR);
        const POINT point = tip.GetTailPoints()[2];
        const int inward = leftTail ? 1 : -1;
        EXPECT_TRUE(::PtInRegion(region.get(), point.x + inward, point.y));
        EXPECT_FALSE(::PtInRegion(region.get(), point.x + inward, point.y - 9));
        EXPECT_TRUE(::PtInRegion(region.get(), point.x + 20 * inward, point.y - 9));

        // Shadowed as the bubble is, but where layered windows are not blended the shadow would hide the tip.
        EXPECT_EQ(::IsWindowVisible(tip.ShadowWindow()) != FALSE, CZvnUIShadowWnd::AlphaBlends());
    }
}

TEST_F(TipTest, ClosesOnEventSeventeenAndItsCloseButtonButNotOnEleven) {
    struct Case {
        const char* what;
        void (*act)(CNotifyFirstTime&);
        bool closes;
    } cases[] = {
        {"event 17", [](CNotifyFirstTime&) { FireHostEvent(VelEvent::MainFrameHidden); }, true},
        {"event 11", [](CNotifyFirstTime&) { FireHostEvent(VelEvent::HostDefined11); }, false},
        {"close button",
         [](CNotifyFirstTime& t) {
             ::SendMessageW(t.GetCloseButton(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
             ::SendMessageW(t.GetCloseButton(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
         },
         true},
    };
    for (const Case& c : cases) {
        tip.DestroyWindow();
        ASSERT_TRUE(Show());
        c.act(tip);
        testsupport::PumpUntil([&] { return !tip.IsWindow(); }, 300);
        EXPECT_EQ(tip.IsWindow(), !c.closes) << c.what;
        tip.DestroyWindow();
        EXPECT_EQ(host.app->Bus().ListenerCount(VelEvent::MainFrameHidden), 0u) << "unsubscribed with the window";
        EXPECT_EQ(host.app->Bus().ListenerCount(VelEvent::HostDefined11), 0u);
    }
}

TEST_F(TipTest, AfterTheMouseLeftTheFiveSecondTickClosesItOnlyWithTheCursorOutside) {
    ASSERT_TRUE(Show());
    RECT shown{};
    ::GetWindowRect(tip.m_hWnd, &shown);
    const POINT inside{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
    const POINT outside{shown.left + 20, shown.bottom + 60};
    if (!testsupport::MoveCursorTo(inside)) GTEST_SKIP() << "the cursor cannot be moved here";
    ::SendMessageW(tip.m_hWnd, WM_MOUSEMOVE, 0, 0);
    ::SendMessageW(tip.m_hWnd, WM_MOUSELEAVE, 0, 0);
    ::SendMessageW(tip.m_hWnd, WM_TIMER, CNotifyFirstTime::kLeaveTimer, 0);
    EXPECT_TRUE(tip.IsWindow()) << "the cursor rests on it";
    ASSERT_TRUE(testsupport::MoveCursorTo(outside));
    ::SendMessageW(tip.m_hWnd, WM_TIMER, CNotifyFirstTime::kLeaveTimer, 0);
    EXPECT_FALSE(tip.IsWindow());
}
}  // namespace
