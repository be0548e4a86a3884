// Real bubbles: placement beside the item, rows, button, closing rules,
// tooltips, and the shape as the screen shows it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "BubbleFixture.h"
#include "BubbleLayout.h"
#include "DcGuards.h"
#include "HostEvents.h"
#include "support/TestSupport.h"

using namespace bubbletest;

namespace {
COLORREF ScreenPixel(POINT at) {
    WindowDC screen(nullptr);
    return ::GetPixel(screen.get(), at.x, at.y);
}

TEST_F(BubbleTest, OpensBesideTheItemOnTheSideWithRoomAndPointsItsTailAtIt) {
    struct Case {
        int x, y;
        int side;
        bool tail;
    } cases[] = {
        {300, 400, BubbleLayout::kBubbleRightOfItem, true},
        {screenWidth - 300, 400, BubbleLayout::kBubbleLeftOfItem, true},
        {300, work.bottom - 30, BubbleLayout::kBubbleRightOfItem, true},
        {screenWidth - 300, work.bottom - 10, BubbleLayout::kBubbleLeftOfItem, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Open(FullMeeting(), c.x, c.y));
        const RECT anchor = WindowRect(item.get());
        const RECT shown = WindowRect(bubble.m_hWnd);
        EXPECT_EQ(shown.right - shown.left, BubbleLayout::kWidth);
        if (c.side == BubbleLayout::kBubbleRightOfItem) {
            EXPECT_EQ(shown.left, anchor.right + 2);
        } else {
            EXPECT_EQ(shown.right, anchor.left);
        }
        EXPECT_LE(shown.bottom, work.bottom);
        EXPECT_EQ(bubble.GetTailSide(), c.side);
        EXPECT_EQ(bubble.HasTail() != FALSE, c.tail);

        // The region holds the tail's tip exactly when there is a tail.
        UniqueHrgn region(::CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(bubble.m_hWnd, region.get()), ERROR);
        const POINT tip = bubble.GetTailPoints()[2];
        const int nearTip = tip.x + (c.side == BubbleLayout::kBubbleRightOfItem ? 2 : -2);
        EXPECT_EQ(::PtInRegion(region.get(), nearTip, tip.y) != FALSE, c.tail) << c.x << "," << c.y;
        EXPECT_EQ(tip.y + shown.top, anchor.top + 20);
    }
}

TEST_F(BubbleTest, RowsShowTheMeetingWithItsFilesAndTitleMarks) {
    CBubblePara para = FullMeeting();
    para.m_strRecurrence = L"";
    para.m_bRecurring = 1;
    para.m_bServiceRX = para.m_bServiceRY = 1;
    para.m_bHasRecording = 1;
    ASSERT_TRUE(Open(para));
    EXPECT_EQ(Text(CBubbleInfor::kIdTitle), L"Quarterly planning");
    EXPECT_EQ(Text(CBubbleInfor::kIdTime), L"10:00 - 11:00 AM");
    EXPECT_EQ(Text(CBubbleInfor::kIdInvitees), L"Ann; Bob; Cy");
    EXPECT_EQ(Control(CBubbleInfor::kIdRecurrence), nullptr);
    // The content column starts right of the widest label.
    EXPECT_EQ(ControlRect(CBubbleInfor::kIdTime).left,
              BubbleLayout::ContentLeft(bubble.GetLabelWidth()) + BubbleLayout::kTailWidth);
    EXPECT_EQ(ControlRect(CBubbleInfor::kIdAgenda).top - ControlRect(CBubbleInfor::kIdInvitees).bottom, 10);

    // Each file: an icon and its name on a row of its own.
    std::vector<std::wstring> names;
    int icons = 0;
    for (HWND control = ::GetWindow(bubble.m_hWnd, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(control) != CBubbleInfor::kIdFile) continue;
        if (::SendMessageW(control, STM_GETICON, 0, 0)) ++icons;
        else names.push_back(testsupport::WindowText(control));
    }
    EXPECT_EQ(icons, 3);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"plan.docx", L"numbers.xlsx", L"notes"}));

    // Recurring wins over nothing, RY over RX; marks start right of the title.
    std::vector<UINT> images;
    for (const auto& mark : bubble.Marks()) images.push_back(mark.image);
    EXPECT_EQ(images, (std::vector<UINT>{CBubbleInfor::kRecurringImage, CBubbleInfor::kServiceRyImage,
                                         CBubbleInfor::kRecordingImage}));
    EXPECT_EQ(bubble.Marks()[0].rect.left, ControlRect(CBubbleInfor::kIdTitle).right + 4);
    EXPECT_EQ(bubble.Marks()[1].rect.left, bubble.Marks()[0].rect.right + 4);
}

TEST_F(BubbleTest, InviteesNoneShowsTheNoInviteesTextOnlyWithoutAZ11Site) {
    for (const wchar_t* z11 : {L"", L"z11.example/site"}) {
        SetZ11SiteName(z11);
        for (const wchar_t* invitees : {L"None", L""}) {
            CBubblePara para = FullMeeting();
            para.m_strInvitees = invitees;
            ASSERT_TRUE(Open(para));
            if (*z11) {
                EXPECT_EQ(Control(CBubbleInfor::kIdInviteesLabel), nullptr) << invitees;
                EXPECT_EQ(Control(CBubbleInfor::kIdInvitees), nullptr) << invitees;
            } else {
                EXPECT_EQ(Text(CBubbleInfor::kIdInvitees), testsupport::ResourceText(CBubbleInfor::kNoInviteesString)) << invitees;
            }
        }
    }
}

TEST_F(BubbleTest, LongTextsAreCutAndTheirTipShowsThem) {
    CBubblePara para = FullMeeting();
    std::wstring agenda;
    for (int i = 1; i <= 30; ++i) agenda += L"Item " + std::to_wstring(i) + L"\r\n";
    para.m_strAgenda = agenda;
    para.m_strHostName = std::wstring(600, L'h');
    ASSERT_TRUE(Open(para));
    const std::wstring shown = Text(CBubbleInfor::kIdAgenda);
    EXPECT_EQ(shown, agenda.substr(0, agenda.find(L"\r\nItem 21")) + L"...");
    EXPECT_EQ(ControlRect(CBubbleInfor::kIdAgenda).bottom - ControlRect(CBubbleInfor::kIdAgenda).top,
              3 * BubbleLayout::kRowHeight);
    EXPECT_EQ(Text(CBubbleInfor::kIdHost), std::wstring(512, L'h') + L"...");

    // Resting on a cut text shows it whole; on a text that fits, no tip.
    auto tipOver = [&](int id) {
        RECT rect{};
        ::GetWindowRect(Control(id), &rect);
        if (!testsupport::MoveCursorTo(POINT{rect.left + 5, rect.top + 5})) return std::wstring(L"(no cursor)");
        ::SendMessageW(bubble.m_hWnd, WM_TIMER, CBubbleInfor::kTipTimer, 0);
        if (!::IsWindowVisible(bubble.GetToolTip())) return std::wstring();
        return testsupport::WindowText(bubble.GetToolTipTarget());
    };
    if (tipOver(CBubbleInfor::kIdTime) == L"(no cursor)") GTEST_SKIP() << "the cursor cannot be moved here";
    EXPECT_EQ(tipOver(CBubbleInfor::kIdAgenda), shown);
    EXPECT_EQ(tipOver(CBubbleInfor::kIdHost), std::wstring(512, L'h') + L"...");
    EXPECT_EQ(tipOver(CBubbleInfor::kIdTime), L"");
}

TEST_F(BubbleTest, TheButtonAsksTheFrameForTheMeetingAndCloses) {
    struct Case {
        INT32 valid;
        int button;
        std::vector<std::wstring> calls;
    } cases[] = {
        {0, CBubbleInfor::kIdEditButton, {L"EditMeeting key=123456789 notFromOI=1 start=45000.500000"}},
        {1, CBubbleInfor::kIdViewButton, {L"ViewMeetingDetail key=123456789 notFromOI=1 start=45000.500000"}},
        {2, 0, {}},
    };
    for (const Case& c : cases) {
        frame.calls.clear();
        CBubblePara para = FullMeeting();
        para.m_bValid = c.valid;
        ASSERT_TRUE(Open(para));
        EXPECT_EQ(Control(CBubbleInfor::kIdEditButton) != nullptr, c.button == CBubbleInfor::kIdEditButton);
        EXPECT_EQ(Control(CBubbleInfor::kIdViewButton) != nullptr, c.button == CBubbleInfor::kIdViewButton);
        if (!c.button) continue;
        EXPECT_EQ(Text(c.button), testsupport::ResourceText(c.valid ? CBubbleInfor::kViewString : CBubbleInfor::kEditString));
        EXPECT_EQ(BubbleLayout::kWidth - ControlRect(c.button).right, 21) << "inside the body";
        const HWND button = Control(c.button);
        ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        testsupport::PumpUntil([&] { return !bubble.IsWindow(); }, 1000);
        EXPECT_FALSE(bubble.IsWindow());
        EXPECT_EQ(frame.calls, c.calls);
    }
}

TEST_F(BubbleTest, EventsSixAndSeventeenCloseItAndElevenDoesNot) {
    for (UINT code : {VelEvent::CloseBubble, VelEvent::MainFrameHidden, VelEvent::HostDefined11}) {
        ASSERT_TRUE(Open(FullMeeting()));
        FireHostEvent(code);
        testsupport::PumpUntil([&] { return !bubble.IsWindow(); }, 300);
        EXPECT_EQ(bubble.IsWindow(), code == VelEvent::HostDefined11) << code;
        bubble.Close();
        EXPECT_EQ(host.app->Bus().ListenerCount(VelEvent::CloseBubble), 0u) << "unsubscribed with the window";
        EXPECT_EQ(host.app->Bus().ListenerCount(VelEvent::HostDefined11), 0u);
    }
}

TEST_F(BubbleTest, TheFiveSecondTickClosesItOnlyWhenTheCursorIsElsewhere) {
    ASSERT_TRUE(Open(FullMeeting()));
    const RECT anchor = WindowRect(item.get());
    const RECT shown = WindowRect(bubble.m_hWnd);
    struct Step {
        POINT cursor;
        bool stays;
    } steps[] = {
        {{anchor.left + 20, anchor.top + 20}, true},    // on its item
        {{shown.left + 200, shown.top + 60}, true},     // on the bubble
        {{shown.left + 200, shown.bottom + 40}, false},  // elsewhere
    };
    for (const Step& step : steps) {
        if (!testsupport::MoveCursorTo(step.cursor)) GTEST_SKIP() << "the cursor cannot be moved here";
        ::SendMessageW(bubble.m_hWnd, WM_TIMER, CBubbleInfor::kLeaveTimer, 0);
        EXPECT_EQ(bubble.IsWindow(), step.stays) << step.cursor.x << "," << step.cursor.y;
    }
}

TEST_F(BubbleTest, ASecondRequestClosesTheFirstBubble) {
    CBubbleInfor other(&frame);
    ASSERT_TRUE(Open(FullMeeting()));
    const HWND first = bubble.m_hWnd;
    ASSERT_TRUE(other.CreateMyWindow(item.get(), WindowRect(item.get()), FullMeeting()));
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(::FindWindowW(nullptr, CBubbleInfor::kWindowTitle), other.m_hWnd);
    ASSERT_TRUE(other.CreateMyWindow(item.get(), WindowRect(item.get()), FullMeeting()));
    EXPECT_TRUE(other.IsShown());
}

TEST_F(BubbleTest, TheScreenShowsAWhiteBodyAndTailInAGreyFrameWithTheShadowOutside) {
    for (int x : {300, screenWidth - 300}) {
        ASSERT_TRUE(Open(FullMeeting(), x, 400));
        testsupport::PumpUntil([] { return false; }, 150);
        const RECT shown = WindowRect(bubble.m_hWnd);
        const bool tailLeft = bubble.GetTailSide() == BubbleLayout::kBubbleRightOfItem;
        const POINT tip{shown.left + bubble.GetTailPoints()[2].x, shown.top + bubble.GetTailPoints()[2].y};
        const int inward = tailLeft ? 1 : -1;
        // The outermost pixel of the shape walking in from the window's edge.
        UniqueHrgn region(::CreateRectRgn(0, 0, 0, 0));
        ::GetWindowRgn(bubble.m_hWnd, region.get());
        auto edgeFrom = [&](POINT from, POINT step) {
            POINT at = from;
            while (!::PtInRegion(region.get(), at.x - shown.left, at.y - shown.top) && ::PtInRect(&shown, at))
                at = POINT{at.x + step.x, at.y + step.y};
            return at;
        };
        const POINT side = edgeFrom(POINT{tailLeft ? shown.left : shown.right - 1, tip.y - 30}, POINT{inward, 0});
        const POINT bottom = edgeFrom(POINT{(shown.left + shown.right) / 2, shown.bottom - 1}, POINT{0, -1});
        EXPECT_LE(std::abs(side.x - tip.x), BubbleLayout::kTailLength + 2) << "the body starts at the tail's base";
        EXPECT_GE(bottom.y, shown.bottom - 2);

        const COLORREF beside = ScreenPixel(POINT{tip.x + inward, tip.y - 12});
        if (beside == CLR_INVALID) GTEST_SKIP() << "the screen cannot be read back here";
        EXPECT_EQ(ScreenPixel(POINT{tip.x + 4 * inward, tip.y}), RGB(255, 255, 255)) << "the tail";
        EXPECT_EQ(ScreenPixel(side), CBubblePaint::kFrameColor) << "the body's side";
        EXPECT_EQ(ScreenPixel(POINT{side.x + inward, side.y}), RGB(255, 255, 255)) << "inside";
        EXPECT_EQ(ScreenPixel(bottom), CBubblePaint::kFrameColor) << "the body's bottom";
        EXPECT_NE(beside, RGB(255, 255, 255)) << "beside the tail the bubble is not";

        // The shadow lies above the bubble: clear over body and tail, shading beside them.
        const auto* shadow = dynamic_cast<CZvnUIShadowWnd*>(CWindowBase::FromHandle(bubble.ShadowWindow()));
        ASSERT_TRUE(shadow && shadow->Image().IsValid());
        const RECT area = WindowRect(bubble.ShadowWindow());
        auto alpha = [&](POINT at) { return shadow->Image().Pixel(at.x - area.left, at.y - area.top) >> 24; };
        EXPECT_EQ(alpha(POINT{tip.x + 4 * inward, tip.y}), 0u);
        EXPECT_EQ(alpha(POINT{side.x + inward, side.y}), 0u);
        EXPECT_GT(alpha(POINT{side.x - 2 * inward, side.y}), 0u);
        EXPECT_GT(alpha(POINT{(shown.left + shown.right) / 2, shown.bottom + 2}), 0u);
    }
}
}  // namespace
