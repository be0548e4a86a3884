// Where the day view puts its parts: the arithmetic on its own, the rows laid
// out, and which parts an empty day shows, with the empty view's link.
#include <vector>

#include "DayViewFixture.h"
#include "HostEvents.h"
#include "PrefHyperLink.h"

using namespace dayviewtest;
using namespace webapitest;

namespace {
int Height(const RECT& rect) { return rect.bottom - rect.top; }

RECT RectIn(HWND child, HWND parent) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
}  // namespace

TEST(DayViewLayout, StripsShareWhatSixRowsLeaveAndTheItemAreaIsOnePixelShort) {
    struct Case {
        int height, itemHeight, g, downHeight;
    };
    const Case cases[] = {
        {268, 36, 14, 15},   // even remainder: the down strip also covers the area's missing row
        {269, 36, 14, 16},   // odd remainder: the spare pixel goes to the down strip too
        {199, 36, -20, -20}, // too small: g truncates toward zero
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const RECT client{0, 0, 300, c.height};
        const DailyViewLayout layout = DailyViewLayout::Compute(client, c.itemHeight);
        EXPECT_EQ(24, layout.upStrip.top);
        EXPECT_EQ(c.g, Height(layout.upStrip));
        EXPECT_EQ(layout.upStrip.bottom, layout.items.top);
        EXPECT_EQ(6 * c.itemHeight - 1, Height(layout.items));
        EXPECT_EQ(layout.items.bottom, layout.downStrip.top);
        EXPECT_EQ(c.downHeight, Height(layout.downStrip));
        EXPECT_EQ(c.height, layout.downStrip.bottom);
        // The view fills white below what the items cover, down to bottom - g.
        const RECT fill = layout.FillBelowItems(client, 2 * c.itemHeight);
        EXPECT_EQ(layout.items.top + 2 * c.itemHeight, fill.top);
        EXPECT_EQ(c.height - c.g, fill.bottom);
    }
}

TEST_F(DayViewTest, LayoutStopsAtSixNormalRowsAndAtThreeTallOnes) {
    // Seven ordinary meetings on a future day: six rows.
    Publish(HourlyMeetings(Today() + 1.0, 7));
    Show(Today() + 1.0);
    EXPECT_EQ((std::vector<INT32>{0, 1, 2, 3, 4, 5}), ShownMeetings());
    EXPECT_FALSE(::IsWindowEnabled(Strip(CDailyView::kUpStripId)));
    EXPECT_TRUE(::IsWindowEnabled(Strip(CDailyView::kDownStripId)));
    // A highlight below the rows of a new layout moves up to its last row.
    ::SendMessageW(view->m_hWnd, CDailyView::kHighlightRowMessage, 4, 0);
    Publish(HourlyMeetings(Today() + 1.0, 3));
    provider->LoadDay(FALSE);
    view->RefreshDailyView();
    EXPECT_EQ(2, view->GetHighlightRow());
    EXPECT_EQ((std::vector<INT32>{0, 1, 2}), RowsOnScreen());  // the rows below are gone

    // Four meetings on now: three tall rows fill the area, the fourth waits.
    Publish(HourlyMeetings(Today(), 4, 10, L"inProgress"));
    Show(Today());
    EXPECT_EQ((std::vector<INT32>{0, 1, 2}), ShownMeetings());
    const int h = ItemHeight();
    EXPECT_EQ((std::vector<int>{0, 2 * h, 4 * h}), RowTops());
    EXPECT_TRUE(::IsWindowEnabled(Strip(CDailyView::kDownStripId)));
}

TEST_F(DayViewTest, EmptyViewShowsOnEmptyDaysOnlyUntilADayWithMeetingsWasSeen) {
    settings.Remove(L"ShowOnceSchedule");
    Publish(HourlyMeetings(Today() + 1.0, 2));
    Show(Today() + 2.0);
    EXPECT_TRUE(::IsWindowVisible(view->GetEmptyView()));
    for (UINT id : {CDailyView::kUpStripId, CDailyView::kDownStripId}) EXPECT_FALSE(::IsWindowVisible(Strip(id)));
    EXPECT_FALSE(::IsWindowVisible(view->GetItems().m_hWnd));
    EXPECT_EQ(24, RectIn(view->GetEmptyView(), view->m_hWnd).top);

    // Enter on the empty view schedules a meeting through the main frame, once.
    frame.TakeCommands();
    Key(VK_RETURN);
    EXPECT_EQ((std::vector<WPARAM>{40002}), frame.TakeCommands());

    Key(VK_LEFT);  // a day with meetings retires the empty view for good
    EXPECT_FALSE(::IsWindowVisible(view->GetEmptyView()));
    Key(VK_RIGHT);
    EXPECT_EQ(0, provider->GetMeetingCount());
    EXPECT_FALSE(::IsWindowVisible(view->GetEmptyView()));
    EXPECT_TRUE(::IsWindowVisible(view->GetItems().m_hWnd));
    EXPECT_FALSE(::IsWindowEnabled(Strip(CDailyView::kDownStripId)));
}

TEST_F(DayViewTest, UpStripShowsItsTipOnceWhenEarlierMeetingsLieAbove) {
    settings.Remove(L"ShowOncePastMeeting");
    Publish(HourlyMeetings(Today(), 5, 6));  // 06:00 to 10:30; at 10:00 only the last has not ended
    Show(Today());
    EXPECT_EQ(4, provider->GetFirstVisibleIndex());
    ASSERT_TRUE(view->GetPastMeetingTip());
    const HWND tip = view->GetPastMeetingTip()->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(tip));
    // A closing main frame closes the tip.
    FireHostEvent(VelEvent::MainFrameHidden);
    Pump();
    EXPECT_FALSE(::IsWindow(tip));

    // Once ever: neither this strip nor the next day view's shows another.
    view->RefreshDailyView();
    EXPECT_FALSE(view->GetPastMeetingTip()->IsWindow());
    Show(Today());
    EXPECT_TRUE(::IsWindowEnabled(Strip(CDailyView::kUpStripId)));
    EXPECT_EQ(view->GetPastMeetingTip(), nullptr);
}

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
    ASSERT_TRUE(linkObject);
    const RECT text = linkObject->GetLinkRect();
    ASSERT_GT(text.left, 2) << "the text is narrower than its control";
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
        ::PostMessageW(link, WM_KEYDOWN, c.key, c.flags);
        Pump();
        EXPECT_EQ(frame.TakeCommands(), c.commands) << c.key << " " << c.flags;
    }
}
}  // namespace
