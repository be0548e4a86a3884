// Which meetings the provider puts into the day view's window, driven through
// the real web-API component.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ProviderFixture.h"
#include "TimeApi.h"
#include "support/TestSupport.h"

using namespace webapitest;
using Span = std::pair<INT32, INT32>;

namespace {
class VisibleWindow : public ProviderTest {};

// Scrolling moves the window one meeting at a time and stops at either end.
TEST_F(VisibleWindow, DaysScrollOneMeetingAtATimeBetweenTheirEnds) {
    const struct {
        const char* name;
        int dayOffset, nowHour, count, firstHour;
        Span shown, afterDown, afterUp, afterSecondUp;
    } cases[] = {
        {"future day", 2, 10, 7, 8, {0, 5}, {1, 6}, {0, 5}, {0, 5}},
        {"past day", -1, 10, 10, 7, {4, 9}, {4, 9}, {3, 8}, {2, 7}},
        {"today, all ended", 0, 18, 3, 8, {3, 3}, {3, 3}, {2, 2}, {1, 2}},
    };
    for (const auto& c : cases) {
        SetNow(At(Today(), c.nowHour, 0));
        Publish(HourlyMeetings(Today() + c.dayOffset, c.count, c.firstHour));
        auto& day = Show(Today() + c.dayOffset);
        EXPECT_EQ(c.dayOffset == 0, day.IsToday()) << c.name;
        EXPECT_EQ(c.shown, Window(day)) << c.name;
        EXPECT_EQ(c.afterDown != c.shown, day.ScrollDown()) << c.name;
        EXPECT_EQ(c.afterDown, Window(day)) << c.name;
        EXPECT_EQ(c.afterUp != c.afterDown, day.ScrollUp()) << c.name;
        EXPECT_EQ(c.afterUp, Window(day)) << c.name;
        EXPECT_EQ(c.afterSecondUp != c.afterUp, day.ScrollUp()) << c.name;
        EXPECT_EQ(c.afterSecondUp, Window(day)) << c.name;
        EXPECT_FALSE(day.IsFollowingNow()) << c.name;
    }
}

TEST_F(VisibleWindow, ProminentMeetingsTakeTwoUnits) {
    // Four running meetings: three tall ones fill the window.
    Publish(HourlyMeetings(Today(), 4, 10, L"inProgress"));
    auto& running = Show();
    EXPECT_EQ(Span(0, 2), Window(running));
    EXPECT_EQ(1, Record(3).m_bProminent);

    // Five ordinary meetings leave one unit, too little for a tall one.
    auto meetings = HourlyMeetings(Today() + 1, 6);
    meetings[5].Set(L"meetingStatus", L"inProgress");
    Publish(meetings);
    auto& tomorrow = Show(Today() + 1);
    EXPECT_EQ(Span(0, 4), Window(tomorrow));
}

TEST_F(VisibleWindow, AMeetingStartingWithinTheHourIsProminent) {
    const DATE today = Today();
    Publish({StoreMeeting(L"soon", At(today, 10, 45), At(today, 11, 30)),
             StoreMeeting(L"later", At(today, 11, 0), At(today, 12, 0)),
             StoreMeeting(L"running", At(today, 9, 30), At(today, 10, 30)).Set(L"meetingStatus", L"whatever")});
    Show();
    EXPECT_EQ(1, Record(0).m_bProminent) << "started and not ended";
    EXPECT_EQ(1, Record(1).m_bProminent);
    EXPECT_EQ(0, Record(2).m_bProminent) << "exactly one hour ahead is not within the hour";
}

TEST_F(VisibleWindow, AnEmptyDayLeavesNothingLoaded) {
    Publish(HourlyMeetings(Today(), 3));
    auto& day = Show();
    ASSERT_EQ(3, day.GetMeetingCount());
    Publish({});
    day.LoadDay(TRUE);
    EXPECT_EQ(0, day.GetMeetingCount());
    EXPECT_EQ(Span(-1, -1), Window(day));
    CMeetingRecord record;
    EXPECT_EQ(E_INVALIDARG, day.GetMeeting(0, &record));
}

// A reload that keeps the position keeps the meeting that was first in the
// window first, found by its key or else by its entry id; a changed start, or
// a load that does not keep, starts the window afresh.
TEST_F(VisibleWindow, AReloadKeepsTheFirstVisibleMeetingWhileItCanBeFound) {
    const DATE day = Today() + 1;
    const struct {
        const char* name;
        std::function<void(std::vector<StoreMeeting>&)> change;
        BOOL keep;
        INT32 first;
    } cases[] = {
        {"an earlier meeting added",
         [&](auto& m) { m.insert(m.begin(), StoreMeeting(L"early", At(day, 6, 0), At(day, 6, 30)).Set(L"meetingKey", L"x")); },
         TRUE, 3},
        {"found by entry id alone",
         [&](auto& m) {
             m.erase(m.begin());
             m[1] = StoreMeeting(L"renamed", At(day, 10, 0), At(day, 10, 30)).Set(L"entryID", L"e2");
         },
         TRUE, 1},
        {"start changed",
         [&](auto& m) { m[2] = StoreMeeting(L"Meeting 2", At(day, 10, 5), At(day, 10, 35)).Set(L"meetingKey", L"k2"); },
         TRUE, 0},
        {"not kept", [](auto&) {}, FALSE, 0},
    };
    for (const auto& c : cases) {
        auto meetings = HourlyMeetings(day, 8);
        Publish(meetings);
        Show(day);
        ASSERT_TRUE(provider->ScrollDown() && provider->ScrollDown());
        c.change(meetings);
        Publish(meetings);
        provider->LoadDay(c.keep);
        EXPECT_EQ(c.first, provider->GetFirstVisibleIndex()) << c.name;
    }
}

class DayChanges : public ProviderTest {};

TEST_F(DayChanges, AnotherDayAsksTheMainFrameForARefresh) {
    ASSERT_TRUE(frame->CreateFrame(nullptr));
    Publish(HourlyMeetings(Today() + 1, 2));
    auto& day = Show();
    testsupport::PumpPending();
    MSG msg;
    EXPECT_FALSE(day.SetCurrentDate(At(Today(), 17, 0))) << "same calendar day";
    EXPECT_FALSE(::PeekMessageW(&msg, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));

    EXPECT_TRUE(day.SetCurrentDate(Today() + 1));
    EXPECT_FALSE(day.IsToday());
    EXPECT_FALSE(day.IsFollowingNow());
    EXPECT_EQ(2, day.GetMeetingCount()) << "the new day is loaded at once";
    ASSERT_TRUE(::PeekMessageW(&msg, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(0x9C43), msg.wParam);
    EXPECT_EQ(0, msg.lParam);

    EXPECT_TRUE(day.SetCurrentDate(now));
    EXPECT_TRUE(day.IsToday());
    EXPECT_TRUE(day.IsFollowingNow());
    frame->DestroyWindow();
}

TEST_F(DayChanges, ThePeriodicCheckNoticesProminenceTheClockAndMidnight) {
    const DATE today = Today();
    Publish({StoreMeeting(L"done", At(today, 9, 0), At(today, 9, 50)).Set(L"meetingKey", L"a"),
             StoreMeeting(L"next", At(today, 11, 30), At(today, 12, 0)).Set(L"meetingKey", L"b"),
             StoreMeeting(L"later", At(today, 13, 0), At(today, 14, 0)).Set(L"meetingKey", L"c"),
             StoreMeeting(L"tomorrow", At(today + 1, 9, 0), At(today + 1, 9, 30)).Set(L"meetingKey", L"d")});
    auto& day = Show();
    EXPECT_EQ(Span(1, 2), Window(day)) << "today starts at the first meeting that has not ended";
    EXPECT_FALSE(day.CheckForChanges());

    SetNow(At(today, 10, 45));
    EXPECT_TRUE(day.CheckForChanges()) << "the next meeting became prominent";
    EXPECT_EQ(Span(1, 2), Window(day));
    EXPECT_FALSE(day.CheckForChanges());

    SetNow(At(today, 12, 5));
    EXPECT_TRUE(day.CheckForChanges()) << "the next meeting ended";
    EXPECT_EQ(Span(2, 2), Window(day));

    SetNow(At(today + 1, 0, 1));
    EXPECT_TRUE(day.CheckForChanges()) << "midnight";
    EXPECT_TRUE(CTimeApi::IsSameDay(today + 1, day.GetCurrentDate()));
    EXPECT_EQ(1, day.GetMeetingCount());

    day.SetCurrentDate(today + 3);
    SetNow(At(today + 1, 9, 10));
    EXPECT_FALSE(day.CheckForChanges()) << "only today is checked";
}

}  // namespace
