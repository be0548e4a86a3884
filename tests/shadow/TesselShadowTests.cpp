// The popups' shadow: its watchdog and the tail drawn into its picture.
#include <gtest/gtest.h>

#include "ShadowTestSupport.h"
#include "support/TestSupport.h"

using namespace shadowtest;

namespace {
const RECT kOwner{300, 200, 500, 300};
const RECT kExtents{40, 16, 16, 16};
const RECT kNoInsets{};

TEST(TesselShadow, WatchdogHidesTheShadowOfAnOwnerHiddenWithoutNotice) {
    TesselPopup popup;
    ASSERT_TRUE(popup.CreatePopup(kOwner));
    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    popup.SetupShadow(kExtents, POINT{kOwner.left - 20, 250}, kNoInsets);
    const HWND shadow = popup.ShadowWindow();
    ASSERT_TRUE(::IsWindow(shadow));
    ::SetWindowPos(shadow, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_TRUE(::IsWindowVisible(shadow));
    ::SetTimer(popup.m_hWnd, 77, 50, nullptr);

    // Visible owner: the watchdog leaves the shadow alone.
    EXPECT_FALSE(testsupport::PumpUntil([&] { return !::IsWindowVisible(shadow); }, 700));

    ::SetWindowPos(popup.m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindowVisible(shadow); }, 2000));
    EXPECT_TRUE(::IsWindow(shadow));

    ::KillTimer(popup.m_hWnd, 77);
    EXPECT_FALSE(popup.ownTimers.empty());
    for (const UINT_PTR id : popup.ownTimers) EXPECT_NE(id, CTesselShadow::kWatchdogTimer) << "the watchdog's own timer";
    popup.DestroyWindow();
    EXPECT_FALSE(::IsWindow(shadow));
}

// Alpha of the shadow picture at a screen point.
unsigned AlphaAt(const TesselPopup& popup, POINT screen) {
    const CZvnUIShadowWnd* shadow = ShadowObject(popup.ShadowWindow());
    if (!shadow || !shadow->Image().IsValid()) return 999;
    const RECT rect = CZvnUIShadowWndMap::ShadowRect(WindowRect(popup.m_hWnd), kExtents, kNoInsets);
    return shadow->Image().Pixel(screen.x - rect.left, screen.y - rect.top) >> 24;
}

TEST(TesselShadow, TailShadowLiesAtTheAnchorOnTheTailsSide) {
    const POINT leftAnchor{kOwner.left - 20, 250};
    const POINT leftTail{leftAnchor.x + 7, leftAnchor.y};  // inside a tail pointing left
    const POINT rightTail{leftAnchor.x - 7, leftAnchor.y};  // inside one pointing right from there

    TesselPopup plain;
    ASSERT_TRUE(plain.CreatePopup(kOwner));
    plain.SetupShadow(kExtents, leftAnchor, kNoInsets);
    const unsigned body = AlphaAt(plain, leftTail);

    TesselPopup left;
    left.SetTailPosition(CTesselShadow::kTailLeft);
    ASSERT_TRUE(left.CreatePopup(kOwner));
    left.SetupShadow(kExtents, leftAnchor, kNoInsets);
    EXPECT_GT(AlphaAt(left, leftTail), body + 20);

    // Pointing right, the same anchor puts the tail on its other side.
    TesselPopup right;
    right.SetTailPosition(CTesselShadow::kTailRight);
    ASSERT_TRUE(right.CreatePopup(kOwner));
    right.SetupShadow(kExtents, leftAnchor, kNoInsets);
    EXPECT_LT(AlphaAt(right, leftTail), AlphaAt(left, leftTail));
    EXPECT_GT(AlphaAt(right, rightTail), AlphaAt(plain, rightTail) + 20);

    // A resized owner gets a picture of its new size with the tail still there.
    ::SetWindowPos(left.m_hWnd, nullptr, 0, 0, 240, 140, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const CZvnShadowImage& resized = ShadowObject(left.ShadowWindow())->Image();
    EXPECT_EQ(resized.Width(), 240 + 40 + 16);
    EXPECT_EQ(resized.Height(), 140 + 32);
    EXPECT_GT(AlphaAt(left, leftTail), body + 20);

    plain.DestroyWindow();
    left.DestroyWindow();
    right.DestroyWindow();
}
}  // namespace
