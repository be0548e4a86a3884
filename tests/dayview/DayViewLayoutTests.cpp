// Where the day view puts its parts: the arithmetic on its own, the windows
// as created, and which parts an empty day shows.
#include "DayViewFixture.h"
#include "HostEvents.h"
#include "Registry.h"

using namespace dayviewtest;
using namespace webapitest;

namespace {
int Height(const RECT& rect) { return rect.bottom - rect.top; }

bool Same(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

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
        {300, 40, 18, 19},
        {199, 36, -20, -20}, // too small: g truncates toward zero
        {124, 0, 50, 51},    // no items yet
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        const RECT client{0, 0, 300, c.height};
        const DailyViewLayout layout = DailyViewLayout::Compute(client, c.itemHeight);
        EXPECT_EQ(c.g, layout.stripHeight);
        EXPECT_EQ(24, Height(layout.dateStrip));
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

TEST_F(DayViewTest, CreatedPartsFollowTheLayoutForTheTemplatesItemHeight) {
    Publish(Hourly(Today() + 1.0, 3));
    for (int extra : {0, 1}) {
        Show(Today() + 1.0, 24 + 6 * 36 + 28 + extra);
        const int h = ItemHeight();
        ASSERT_GT(h, 20);
        RECT client{};
        ::GetClientRect(view->m_hWnd, &client);
        const DailyViewLayout expected = DailyViewLayout::Compute(client, h);
        EXPECT_EQ((client.bottom - 24 - 6 * h) / 2, view->GetLayout().stripHeight);
        EXPECT_TRUE(Same(expected.upStrip, RectIn(Strip(CDailyView::kUpStripId), view->m_hWnd)));
        EXPECT_TRUE(Same(expected.downStrip, RectIn(Strip(CDailyView::kDownStripId), view->m_hWnd)));
        EXPECT_TRUE(Same(expected.items, RectIn(view->GetItems().m_hWnd, view->m_hWnd)));
        EXPECT_EQ(24, Height(RectIn(view->GetDateStrip().m_hWnd, view->m_hWnd)));
        // Laid out from the top without gaps, tall items two rows high.
        EXPECT_EQ((std::vector<int>{0, h, 2 * h}), RowTops());
        EXPECT_EQ(3 * h, view->GetItems().GetTotalHeight());
        EXPECT_EQ(1u, events.Count(VelEvent::CloseBubble)) << "a refresh closes the bubble";
        events.fired.clear();
    }
}

TEST_F(DayViewTest, LayoutStopsAtSixNormalRowsAndAtThreeTallOnes) {
    // Seven ordinary meetings on a future day: six rows.
    Publish(Hourly(Today() + 1.0, 7));
    Show(Today() + 1.0);
    EXPECT_EQ((std::vector<INT32>{0, 1, 2, 3, 4, 5}), ShownMeetings());
    EXPECT_FALSE(::IsWindowEnabled(Strip(CDailyView::kUpStripId)));
    EXPECT_TRUE(::IsWindowEnabled(Strip(CDailyView::kDownStripId)));
    // A highlight below the rows of a new layout moves up to its last row.
    ::SendMessageW(view->m_hWnd, CDailyView::kHighlightRowMessage, 4, 0);
    Publish(Hourly(Today() + 1.0, 3));
    provider->LoadDay(FALSE);
    view->RefreshDailyView();
    EXPECT_EQ(2, view->GetHighlightRow());

    // Four meetings on now: three tall rows fill the area, the fourth waits.
    Publish(Hourly(Today(), 4, 10, L"inProgress"));
    Show(Today());
    EXPECT_EQ((std::vector<INT32>{0, 1, 2}), ShownMeetings());
    const int h = ItemHeight();
    EXPECT_EQ((std::vector<int>{0, 2 * h, 4 * h}), RowTops());
    EXPECT_TRUE(::IsWindowEnabled(Strip(CDailyView::kDownStripId)));
}

TEST_F(DayViewTest, EmptyViewShowsOnEmptyDaysOnlyUntilADayWithMeetingsWasSeen) {
    settings.Remove(L"ShowOnceSchedule");
    Publish(Hourly(Today() + 1.0, 2));
    Show(Today() + 2.0);
    EXPECT_TRUE(::IsWindowVisible(view->GetEmptyView()));
    for (UINT id : {CDailyView::kUpStripId, CDailyView::kDownStripId}) EXPECT_FALSE(::IsWindowVisible(Strip(id)));
    EXPECT_FALSE(::IsWindowVisible(view->GetItems().m_hWnd));
    RECT below = RectIn(view->GetEmptyView(), view->m_hWnd);
    EXPECT_EQ(24, below.top);

    // Enter on the empty view schedules a meeting through the main frame, once.
    frame.TakeCommands();
    Key(VK_RETURN);
    Pump();
    EXPECT_EQ((std::vector<WPARAM>{40002}), frame.TakeCommands());

    Key(VK_LEFT);  // a day with meetings retires the empty view for good
    EXPECT_FALSE(::IsWindowVisible(view->GetEmptyView()));
    Key(VK_RIGHT);
    EXPECT_EQ(0, provider->GetMeetingCount());
    EXPECT_FALSE(::IsWindowVisible(view->GetEmptyView()));
    EXPECT_TRUE(::IsWindowVisible(view->GetItems().m_hWnd));
    for (UINT id : {CDailyView::kUpStripId, CDailyView::kDownStripId}) {
        EXPECT_TRUE(::IsWindowVisible(Strip(id)));
        EXPECT_FALSE(::IsWindowEnabled(Strip(id)));
    }
}

TEST_F(DayViewTest, UpStripShowsItsTipOnceWhenEarlierMeetingsLieAbove) {
    settings.Remove(L"ShowOncePastMeeting");
    Publish(Hourly(Today(), 5, 6));  // 06:00 to 10:30; at 10:00 only the last has not ended
    Show(Today());
    EXPECT_EQ(4, provider->GetFirstVisibleIndex());
    ASSERT_TRUE(view->GetPastMeetingTip());
    const HWND tip = view->GetPastMeetingTip()->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(tip));
    // Beside the strip: the left edge on the strip's right edge when the strip is left of centre.
    RECT strip{}, placed{};
    ::GetWindowRect(Strip(CDailyView::kUpStripId), &strip);
    ::GetWindowRect(tip, &placed);
    EXPECT_EQ(1, view->GetPastMeetingTip()->GetTailCode());
    EXPECT_EQ(strip.right, placed.left);
    DWORD shown = 0;
    ASSERT_TRUE(CRegistry::ReadDword(HKEY_CURRENT_USER, kQuillkitKey, L"ShowOncePastMeeting", &shown));
    EXPECT_EQ(1u, shown);
    // A closing main frame closes the tip.
    FireHostEvent(VelEvent::MainFrameHidden);
    Pump();
    EXPECT_FALSE(::IsWindow(tip));

    // Once ever: neither this strip nor the next day view's shows another.
    const CNotifyFirstTime* tipObject = view->GetPastMeetingTip();
    view->RefreshDailyView();
    EXPECT_EQ(view->GetPastMeetingTip(), tipObject);
    EXPECT_FALSE(tipObject->IsWindow());
    Show(Today());
    EXPECT_TRUE(::IsWindowEnabled(Strip(CDailyView::kUpStripId)));
    EXPECT_EQ(view->GetPastMeetingTip(), nullptr);
}
