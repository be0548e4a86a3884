// The empty view's link on a real day view: drawn as a link, and a click on
// its text or Enter with its focus schedules a meeting once.
#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "DayViewFixture.h"
#include "PrefHyperLink.h"
#include "support/ScreenShot.h"
#include "support/TestSupport.h"

using namespace dayviewtest;
using webapitest::Today;

namespace {
class EmptyViewTest : public DayViewTest {
protected:
    void SetUp() override {
        DayViewTest::SetUp();
        settings.Remove(L"ShowOnceSchedule");
        Publish({});
        Show(Today());
        link = ::GetDlgItem(view->GetEmptyView(), CEmptyMtgView::kIdLink);
        linkObject = dynamic_cast<CPrefHyperLink*>(CWindowBase::FromHandle(link));
        frame.TakeCommands();
    }
    // A point of the link control in its client coordinates, as a mouse message carries it.
    static LPARAM At(POINT point) { return MAKELPARAM(point.x, point.y); }
    void Click(POINT down, POINT up) {
        ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, At(down));
        ::SendMessageW(link, WM_LBUTTONUP, 0, At(up));
        Pump();
    }

    HWND link = nullptr;
    CPrefHyperLink* linkObject = nullptr;
};

TEST_F(EmptyViewTest, AClickOnTheLinksTextSchedulesOnceAndTheRestOfTheControlIsInert) {
    ASSERT_TRUE(::IsWindowVisible(view->GetEmptyView()));
    ASSERT_TRUE(linkObject);
    const RECT text = linkObject->GetLinkRect();
    RECT client{};
    ::GetClientRect(link, &client);
    ASSERT_GT(text.left, client.left + 2) << "the text is narrower than its control";
    const POINT onText{(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    const POINT besideText{text.left - 2, onText.y};
    struct Case {
        const char* what;
        POINT down, up;
        std::vector<WPARAM> commands;
    } cases[] = {
        {"on the text", onText, onText, {CEmptyMtgView::kScheduleCommand}},
        {"beside the text", besideText, besideText, {}},
        {"pressed on the text, let go beside it", onText, besideText, {}},
    };
    for (const Case& c : cases) {
        Click(c.down, c.up);
        EXPECT_EQ(frame.TakeCommands(), c.commands) << c.what;
    }
    // The hand shows over the text only.
    for (const auto& [point, hand] : {std::pair{onText, true}, std::pair{besideText, false}}) {
        POINT screen = point;
        ::ClientToScreen(link, &screen);
        if (!testsupport::MoveCursorTo(screen)) GTEST_SKIP() << "the cursor cannot be moved here";
        ::SetCursor(nullptr);
        ::SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(::GetCursor() == ::LoadCursorW(nullptr, IDC_HAND), hand);
    }
}

TEST_F(EmptyViewTest, EnterOrSpaceOnTheFocusedLinkSchedulesOnceAndAHeldKeyDoesNotRepeat) {
    struct Case {
        UINT key;
        LPARAM flags;
        std::vector<WPARAM> commands;
    } cases[] = {
        {VK_RETURN, 1, {CEmptyMtgView::kScheduleCommand}},
        {VK_SPACE, 1, {CEmptyMtgView::kScheduleCommand}},
        {VK_RETURN, 1 | (1 << 30), {}},  // repeated while held
    };
    for (const Case& c : cases) {
        ::SetFocus(link);
        ASSERT_EQ(::GetFocus(), link);
        ::PostMessageW(link, WM_KEYDOWN, c.key, c.flags);
        Pump();
        EXPECT_EQ(frame.TakeCommands(), c.commands) << c.key << " " << c.flags;
    }
}

TEST_F(EmptyViewTest, TheLinkIsUnderlinedInItsColourOnTheViewsWhite) {
    ::RedrawWindow(view->GetEmptyView(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT text = linkObject->GetLinkRect();
    ::MapWindowPoints(link, nullptr, reinterpret_cast<POINT*>(&text), 2);
    const auto shot = testsupport::CaptureScreen(RECT{text.left - 4, text.top, text.right, text.bottom});
    if (!shot) GTEST_SKIP() << "the screen cannot be read back here";
    // The underline is one unbroken row of the link colour across the text.
    int longestRow = 0;
    for (int y = 0; y < shot->height(); ++y)
        longestRow = std::max(longestRow, shot->Count(RECT{4, y, shot->width(), y + 1}, CPrefHyperLink::kLinkColor));
    EXPECT_GE(longestRow, (text.right - text.left) * 9 / 10);
    EXPECT_EQ(shot->At(1, 1), RGB(255, 255, 255)) << "beside the text the view's white";
}
}  // namespace
