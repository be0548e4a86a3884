// Real shadow windows following real owner popups.
#include <gtest/gtest.h>

#include "ShadowTestSupport.h"
#include "support/TestSupport.h"

using namespace shadowtest;

namespace {
const RECT kExtents{10, 12, 14, 16};
const RECT kInsets{2, 3, 4, 5};

RECT Expected(HWND owner) { return CZvnUIShadowWndMap::ShadowRect(WindowRect(owner), kExtents, kInsets); }

class ShadowFollowsOwner : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(painter.Create());
        popup.SetOuterExtents(kExtents);
        popup.SetInnerInsets(kInsets);
        popup.SetShadowImage(MakeImage(8, 8, [](int, int) { return 0x40000000u; }), kShadowOwnerDraw, RECT{});
        popup.SetShadowOwnerDraw(painter.m_hWnd, kDrawShadowMessage);
    }
    void TearDown() override { popup.DestroyWindow(); }

    ShadowPainter painter;
    ShadowedPopup popup;
};

TEST_F(ShadowFollowsOwner, CreatedHiddenWithTheOwnerAsAClickThroughLayeredToolWindow) {
    ASSERT_TRUE(popup.CreatePopup(RECT{100, 100, 300, 200}));
    const HWND shadow = popup.ShadowWindow();
    ASSERT_TRUE(::IsWindow(shadow));
    EXPECT_EQ(::GetWindow(shadow, GW_OWNER), popup.m_hWnd);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(shadow, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW),
              WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::IsWindowVisible(shadow));
    for (const wchar_t* name : {L"AsNoRemoteControlWindowProp", L"AsBringToTopWhenAnnotationProp",
                                L"ZvnNotMinimizedAfterSharing", L"LuminetMeeting"})
        EXPECT_EQ(::GetPropW(shadow, name), reinterpret_cast<HANDLE>(1)) << "property " << name;
    EXPECT_EQ(painter.lastImage, ShadowObject(shadow)->Image().Handle()) << "the owner draw gets the picture";
}

// The nearest window above `window` in the z-order that belongs to this process.
HWND NextOwnWindowAbove(HWND window) {
    for (HWND above = ::GetWindow(window, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(above, &process);
        if (process == ::GetCurrentProcessId()) return above;
    }
    return nullptr;
}

TEST_F(ShadowFollowsOwner, ShowMoveSizeHideAndDestroy) {
    ASSERT_TRUE(popup.CreatePopup(RECT{100, 100, 300, 200}));
    const HWND shadow = popup.ShadowWindow();
    ASSERT_NE(shadow, nullptr);

    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(popup.m_hWnd)));
    EXPECT_TRUE(SameRect(WindowRect(shadow), RECT{92, 91, 310, 211}));
    EXPECT_EQ(painter.lastSize.cx, 218);
    EXPECT_EQ(painter.lastSize.cy, 120);
    // Owned windows stay above their owner; the picture's clear middle lets the owner show through.
    // Other test programs share this desktop and may put their windows anywhere
    // in the order, so only this process's windows are looked at.
    EXPECT_EQ(NextOwnWindowAbove(popup.m_hWnd), shadow) << "right above its owner, nothing of ours between";

    // Dragging: the shadow moves along; one monitor means no repaint.
    int paints = painter.requests;
    ::SetWindowPos(popup.m_hWnd, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(popup.m_hWnd)));
    if (::GetSystemMetrics(SM_CMONITORS) < 2)
        EXPECT_EQ(painter.requests, paints);
    else
        EXPECT_GT(painter.requests, paints);

    // Resizing repaints at the new size.
    paints = painter.requests;
    ::SetWindowPos(popup.m_hWnd, nullptr, 0, 0, 250, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(popup.m_hWnd)));
    EXPECT_GT(painter.requests, paints);
    EXPECT_EQ(painter.lastSize.cx, 250 + 10 + 14 - 2 - 4);
    EXPECT_EQ(painter.lastSize.cy, 90 + 12 + 16 - 3 - 5);

    // Hidden with the owner but kept; shown again in place and repainted.
    ::ShowWindow(popup.m_hWnd, SW_HIDE);
    EXPECT_TRUE(::IsWindow(shadow));
    EXPECT_FALSE(::IsWindowVisible(shadow));
    ::MoveWindow(popup.m_hWnd, 50, 60, 120, 80, FALSE);  // while hidden
    paints = painter.requests;
    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(popup.m_hWnd)));
    EXPECT_GT(painter.requests, paints);

    popup.DestroyWindow();
    EXPECT_FALSE(::IsWindow(shadow));
}

TEST_F(ShadowFollowsOwner, DisabledOrWithoutPictureNoShadowWindow) {
    popup.SetShadowEnabled(FALSE);
    ASSERT_TRUE(popup.CreatePopup(RECT{100, 100, 300, 200}));
    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    ::SetWindowPos(popup.m_hWnd, nullptr, 0, 0, 220, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(popup.ShadowWindow(), nullptr);
    EXPECT_EQ(painter.requests, 0);

    ShadowedPopup bare;
    ASSERT_TRUE(bare.CreatePopup(RECT{100, 100, 300, 200}));
    ::ShowWindow(bare.m_hWnd, SW_SHOWNOACTIVATE);
    EXPECT_EQ(bare.ShadowWindow(), nullptr);
    bare.DestroyWindow();
}

TEST(ShadowWindow, LayeredUpdateGivesTheWindowThePicturesSize) {
    // Three-part pictures keep their own height: the update, not the move,
    // decides the window's final size.
    if (!::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow"))
        GTEST_SKIP() << "no layered-window update on this system";
    ShadowedPopup popup;
    popup.SetOuterExtents(RECT{6, 6, 6, 6});
    popup.SetShadowImage(MakeImage(9, 12, [](int, int) { return 0x80000000u; }), kShadowThreePart, RECT{3, 3, 0, 0});
    ASSERT_TRUE(popup.CreatePopup(RECT{200, 200, 400, 300}));
    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    const RECT shadow = WindowRect(popup.ShadowWindow());
    EXPECT_EQ(shadow.left, 194);
    EXPECT_EQ(shadow.top, 194);
    EXPECT_EQ(shadow.right - shadow.left, 212);
    EXPECT_EQ(shadow.bottom - shadow.top, 12);
    popup.DestroyWindow();
}
}  // namespace
