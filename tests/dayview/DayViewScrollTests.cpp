// Scrolling by one meeting: the five animation steps, what a refresh or a
// turn of the wheel does meanwhile, and the highlight at the window's edges.
#include "DayViewFixture.h"
#include "TimeApi.h"

using namespace dayviewtest;
using namespace webapitest;

namespace {
constexpr UINT_PTR kUp = CDailyView::kUpTimer;
constexpr UINT_PTR kDown = CDailyView::kDownTimer;

std::vector<int> Rows(int first, int count, int height, int offset = 0) {
    std::vector<int> tops;
    for (int i = 0; i < count; ++i) tops.push_back((first + i) * height + offset);
    return tops;
}
}  // namespace

TEST_F(DayViewTest, OneScrollIsFiveTicksMovingEveryRowAQuarterRow) {
    Publish(HourlyMeetings(Today() + 1.0, 8));
    Show(Today() + 1.0);
    const int h = ItemHeight();
    const int area = 6 * h - 1;

    view->ScrollDown();
    EXPECT_TRUE(view->IsBusy());
    EXPECT_EQ(std::make_pair(1, 6), Window());
    Tick(kDown);  // step 0: meeting 6 waits just below the area, hidden
    EXPECT_EQ((std::vector<INT32>{0, 1, 2, 3, 4, 5, 6}), ShownMeetings());
    EXPECT_EQ(area, RowTops().back());
    EXPECT_FALSE(::IsWindowVisible(view->GetItems().GetShownItems().back()->m_hWnd));
    for (int step = 1; step <= 3; ++step) {
        Tick(kDown);
        std::vector<int> expected = Rows(0, 6, h, -step * (h / 4));
        expected.push_back(area - step * (h / 4));
        EXPECT_EQ(expected, RowTops()) << step;
    }
    Tick(kDown);  // step 4: laid out afresh, the row that left let go
    EXPECT_FALSE(view->IsBusy());
    EXPECT_EQ((std::vector<INT32>{1, 2, 3, 4, 5, 6}), ShownMeetings());
    EXPECT_EQ(Rows(0, 6, h), RowTops());
    EXPECT_EQ(5u, view->GetItems().GetPooledCount());
    EXPECT_FALSE(::KillTimer(view->m_hWnd, kDown)) << "the timer stops with the fifth tick";
    EXPECT_TRUE(::IsWindowEnabled(Strip(CDailyView::kUpStripId)));
}

TEST_F(DayViewTest, ScrollingUpOntoATallMeetingDropsTheRowsThatNoLongerFit) {
    // At 10:00 the 10:30 meeting is prominent and takes two rows.
    std::vector<StoreMeeting> meetings = HourlyMeetings(Today(), 7, 12);
    meetings.insert(meetings.begin(), StoreMeeting(L"Soon", At(Today(), 10, 30), At(Today(), 11, 0))
                                          .Set(L"meetingKey", L"soon")
                                          .Set(L"meetingStatus", L"upcoming"));
    Publish(meetings);
    Show(Today());
    const int h = ItemHeight();
    EXPECT_EQ((std::vector<INT32>{0, 1, 2, 3, 4}), ShownMeetings());

    view->ScrollDown();
    Tick(kDown);
    EXPECT_EQ(7u, ShownMeetings().size()) << "two ordinary meetings enter for the tall one";
    Tick(kDown, 4);
    EXPECT_EQ((std::vector<INT32>{1, 2, 3, 4, 5, 6}), ShownMeetings());

    view->ScrollUp();
    Tick(kUp, 2);  // a quarter of the entering tall item: half a row
    EXPECT_EQ(-2 * h + h / 2, RowTops().front());
    Tick(kUp, 3);
    EXPECT_EQ((std::vector<INT32>{0, 1, 2, 3, 4}), ShownMeetings());
    EXPECT_EQ((std::vector<int>{0, 2 * h, 3 * h, 4 * h, 5 * h}), RowTops());
    EXPECT_EQ(6u, view->GetItems().GetPooledCount());
    for (const CItemWnd* item : view->GetItems().GetShownItems()) EXPECT_TRUE(::IsWindowVisible(item->m_hWnd));
}

TEST_F(DayViewTest, RefreshDuringAScrollCompletesItAtOnce) {
    Publish(HourlyMeetings(Today() + 1.0, 8));
    for (int ticksBefore : {0, 2}) {
        SCOPED_TRACE(ticksBefore);
        Show(Today() + 1.0);
        view->ScrollDown();
        Tick(kDown, ticksBefore);
        view->RefreshDailyView();
        EXPECT_FALSE(view->IsBusy());
        EXPECT_EQ((std::vector<INT32>{1, 2, 3, 4, 5, 6}), ShownMeetings());
        EXPECT_EQ(Rows(0, 6, ItemHeight()), RowTops());
        EXPECT_FALSE(::KillTimer(view->m_hWnd, kDown));
    }
}

TEST_F(DayViewTest, WheelAndDayChangesWaitWhileAScrollRuns) {
    Publish(HourlyMeetings(Today() + 1.0, 8));
    Show(Today() + 1.0);
    view->ScrollDown();
    const size_t closes = events.Count(VelEvent::CloseBubble);
    ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    view->NextDay();
    NMHDR previous{view->GetDateStrip().m_hWnd, CDateTimeCtrl::kPreviousNotifyId, CDateTimeCtrl::kPreviousNotifyCode};
    ::SendMessageW(view->m_hWnd, WM_NOTIFY, previous.idFrom, reinterpret_cast<LPARAM>(&previous));
    EXPECT_EQ(-1, view->GetHighlightRow());
    EXPECT_EQ(events.Count(VelEvent::CloseBubble), closes);
    EXPECT_TRUE(CTimeApi::IsSameDay(Today() + 1.0, provider->GetCurrentDate()));
    EXPECT_EQ(std::make_pair(1, 6), Window());

    Tick(kDown, 5);
    ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(1, HighlightedMeeting());
    EXPECT_EQ(events.Count(VelEvent::CloseBubble), closes + 1);
    ::SendMessageW(view->m_hWnd, WM_NOTIFY, previous.idFrom, reinterpret_cast<LPARAM>(&previous));
    EXPECT_TRUE(CTimeApi::IsSameDay(Today(), provider->GetCurrentDate()));
    EXPECT_EQ(-1, view->GetHighlightRow()) << "a new day starts without a highlight";
}

TEST_F(DayViewTest, UpAndDownAtTheEdgesScrollAndKeepTheHighlightOnItsMeeting) {
    Publish(HourlyMeetings(Today() + 1.0, 8));
    Show(Today() + 1.0);
    struct Step {
        UINT key;
        INT32 highlighted;
        INT32 first;
    };
    const Step steps[] = {
        {VK_DOWN, 0, 0}, {VK_DOWN, 1, 0}, {VK_DOWN, 2, 0}, {VK_DOWN, 3, 0}, {VK_DOWN, 4, 0}, {VK_DOWN, 5, 0},
        {VK_DOWN, 5, 1},  // the last row: the window scrolls, the highlight stays on meeting 5
        {VK_DOWN, 6, 1},  {VK_DOWN, 6, 2}, {VK_DOWN, 7, 2},
        {VK_DOWN, 7, 2},  // nothing below: the last meeting stays highlighted
        {VK_UP, 6, 2},    {VK_UP, 5, 2},   {VK_UP, 4, 2},  {VK_UP, 3, 2}, {VK_UP, 2, 2},
        {VK_UP, 2, 1},    // the top row: the window scrolls, the highlight stays on meeting 2
        {VK_UP, 1, 1},    {VK_UP, 1, 0},   {VK_UP, 0, 0},
        {VK_UP, 0, 0},    // nothing above: row 0 stays highlighted
    };
    int n = 0;
    for (const Step& step : steps) {
        Key(step.key);
        Settle();
        EXPECT_EQ(step.highlighted, HighlightedMeeting()) << "step " << n;
        EXPECT_EQ(step.first, provider->GetFirstVisibleIndex()) << "step " << n;
        ++n;
    }
    EXPECT_EQ(::GetFocus(), view->m_hWnd);
}
