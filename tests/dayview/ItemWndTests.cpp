// Meeting items filled from records, with the day view tests' host and
// recording frame: their texts, button and status per state
// and role, what their button and clicks reach, and how they paint. A
// top-level window stands for the day view and a child of it for the item
// container, so that an item's row selection reaches its grandparent as it would.
#include <memory>
#include <vector>

#include "Clock.h"
#include "DayViewFixture.h"
#include "ItemRules.h"
#include "PopupMenu.h"
#include "TimeApi.h"
#include "support/Canvas.h"
#include "support/TestSupport.h"

using dayviewtest::Fired;
using testsupport::Canvas;
using testsupport::Near;
using testsupport::ResourceText;
using testsupport::WindowText;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
const wchar_t kDayViewClass[] = L"QkTest_ItemDayView";
std::vector<WPARAM> g_rows;  // rows the day view was asked to highlight

LRESULT CALLBACK DayViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CItemWnd::kHighlightRowMessage) {
        g_rows.push_back(wParam);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool Enabled(HWND window) { return ::IsWindowEnabled(window) != FALSE; }

class ItemTest : public dayviewtest::DayViewTest {
protected:
    static void SetUpTestSuite() {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = DayViewProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kDayViewClass;
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::RegisterClassExW(&wc);
    }
    static void TearDownTestSuite() { ::UnregisterClassW(kDayViewClass, ::GetModuleHandleW(nullptr)); }
    void SetUp() override {
        DayViewTest::SetUp();
        dayView = ::CreateWindowExW(WS_EX_TOPMOST, kDayViewClass, L"day", WS_POPUP | WS_VISIBLE, 100, 100, 420, 300,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        container = ::CreateWindowExW(0, kDayViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 420, 300, dayView, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(container);
        g_rows.clear();
    }
    void TearDown() override {
        items.clear();
        if (dayView) ::DestroyWindow(dayView);
        DayViewTest::TearDown();
    }
    // The bubbles the items asked for.
    [[nodiscard]] std::vector<Fired> Requests() const {
        std::vector<Fired> requests;
        for (const Fired& event : events.fired)
            if (event.code == VelEvent::ShowBubble) requests.push_back(event);
        return requests;
    }

    // An item below the others in the container, filled with `meeting`.
    CItemWnd& ShowMeeting(const CMeetingRecord& meeting) {
        const bool tall = meeting.m_bProminent != 0;
        int y = 0;
        for (const auto& above : items) {
            RECT rect{};
            ::GetWindowRect(above->m_hWnd, &rect);
            y += rect.bottom - rect.top;
        }
        items.push_back(std::make_unique<CItemWnd>(&frame));
        CItemWnd& item = *items.back();
        EXPECT_TRUE(item.Create(container, tall ? CItemWnd::kTallTemplate : CItemWnd::kNormalTemplate, tall));
        ::SetWindowPos(item.m_hWnd, nullptr, 0, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        item.SetRowIndex(static_cast<int>(items.size()) - 1);
        EXPECT_EQ(S_OK, item.RefreshItemWnd(meeting));
        testsupport::PumpPending();
        return item;
    }
    // A meeting of today starting `startMinutes` from now (10:00) and lasting
    // `minutes`, with keys and texts the call log shows.
    CMeetingRecord Meeting(INT32 status, INT32 privilege, int startMinutes, int minutes = 60) const {
        CMeetingRecord meeting;
        meeting.m_strTopic = L"Budget review";
        meeting.m_strKey = L"123456789";
        meeting.m_strConfKey = L"c-77";
        meeting.m_strPassword = L"pw1";
        meeting.m_strSiteUrl = L"https://other.example.com/site";
        meeting.m_strHostName = L"Ann Host";
        meeting.m_nIndex = 4;
        meeting.m_dtStart = CTimeApi::AddSeconds(now, startMinutes * 60);
        meeting.m_dtEnd = CTimeApi::AddSeconds(meeting.m_dtStart, minutes * 60);
        meeting.m_nDurationSeconds = minutes * 60;
        meeting.m_nStatus = status;
        meeting.m_nPrivilege = privilege;
        meeting.m_nServiceType = MeetingService::Meeting;
        meeting.m_bValid = 1;
        meeting.m_bProminent = status != MeetingStatus::Past && (status == MeetingStatus::InProgress ||
                                                                 (startMinutes < 60 && startMinutes + minutes > 0));
        return meeting;
    }

    [[nodiscard]] static HWND Control(const CItemWnd& item, int id) { return ::GetDlgItem(item.m_hWnd, id); }
    [[nodiscard]] static std::wstring ControlText(const CItemWnd& item, int id) { return WindowText(Control(item, id)); }
    [[nodiscard]] static bool Visible(const CItemWnd& item, int id) { return ::IsWindowVisible(Control(item, id)) != FALSE; }
    // Rests the cursor on the item (or away from every item); false when the
    // display does not move the cursor.
    static bool PutCursorOn(const CItemWnd* item) {
        POINT target{5, 5};
        RECT rect{};
        if (item && ::GetWindowRect(item->m_hWnd, &rect)) target = {(rect.left + rect.right) / 2, rect.top + 3};
        return testsupport::MoveCursorTo(target);
    }
    static void HoverTick(CItemWnd& item) { ::SendMessageW(item.m_hWnd, WM_TIMER, CItemWnd::kHoverTimer, 0); }

    HWND dayView = nullptr;
    HWND container = nullptr;
    std::vector<std::unique_ptr<CItemWnd>> items;
};

TEST_F(ItemTest, NormalItemShowsTheEscapedTopicAndNoButtonUntilHovered) {
    CMeetingRecord meeting = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 180);
    meeting.m_strTopic = L"R&D sync";
    CItemWnd& item = ShowMeeting(meeting);
    ASSERT_FALSE(item.IsTall());
    EXPECT_EQ(L"R&&D sync", ControlText(item, CItemWnd::kIdTopic));
    // A refill never shows the button of a normal item, even to the host.
    EXPECT_FALSE(Visible(item, CItemWnd::kIdMeetingButton));

    // The topic starts right of the time column and is only as wide as its text.
    RECT timeRect{}, topicRect{};
    ::GetWindowRect(Control(item, CItemWnd::kIdStartTime), &timeRect);
    ::GetWindowRect(Control(item, CItemWnd::kIdTopic), &topicRect);
    EXPECT_EQ(timeRect.right, topicRect.left);
    EXPECT_LT(topicRect.right - topicRect.left, item.GetTopicHomeRect().right - item.GetTopicHomeRect().left);
}

TEST_F(ItemTest, HoveringANormalItemOffersRestartStartOrNothingByRoleAndState) {
    CItemWnd& restart = ShowMeeting(Meeting(MeetingStatus::Past, MeetingPrivilege::Host, -30, 60));
    CItemWnd& start = ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 240));
    CItemWnd& attendee = ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Attendee, 240));
    CItemWnd& over = ShowMeeting(Meeting(MeetingStatus::Past, MeetingPrivilege::Host, -120, 60));
    if (!PutCursorOn(&restart)) GTEST_SKIP() << "the display does not move the cursor";

    HoverTick(restart);
    EXPECT_TRUE(Visible(restart, CItemWnd::kIdMeetingButton));
    EXPECT_EQ(ResourceText(CItemWnd::kRestartString), WindowText(restart.GetMeetingButton()));

    ASSERT_TRUE(PutCursorOn(&start));
    HoverTick(restart);
    HoverTick(start);
    EXPECT_FALSE(Visible(restart, CItemWnd::kIdMeetingButton));
    EXPECT_TRUE(Visible(start, CItemWnd::kIdMeetingButton));
    EXPECT_EQ(ResourceText(CItemWnd::kStartString), WindowText(start.GetMeetingButton()));

    ASSERT_TRUE(PutCursorOn(&attendee));
    HoverTick(attendee);
    EXPECT_FALSE(Visible(attendee, CItemWnd::kIdMeetingButton));
    // A past meeting whose scheduled end has gone can be neither restarted nor started.
    ASSERT_TRUE(PutCursorOn(&over));
    HoverTick(over);
    EXPECT_FALSE(Visible(over, CItemWnd::kIdMeetingButton));
}

TEST_F(ItemTest, TallItemForAnAttendeeWaitsForTheJoinBeforeHostTime) {
    CMeetingRecord meeting = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Attendee, 30);
    meeting.m_nJoinBeforeHostMinutes = 10;
    CItemWnd& item = ShowMeeting(meeting);
    ASSERT_TRUE(item.IsTall());
    HWND button = item.GetMeetingButton();
    EXPECT_TRUE(Visible(item, CItemWnd::kIdMeetingButton));
    EXPECT_FALSE(Enabled(button));
    EXPECT_EQ(ResourceText(CItemWnd::kNotStartedString), ControlText(item, CItemWnd::kIdStatusLabel));

    // Ten minutes before the start the attendee may go in.
    const DATE later = CTimeApi::AddSeconds(now, 20 * 60);
    Clock::PinLocalNow(&later);
    HoverTick(item);
    EXPECT_TRUE(Enabled(button));
    EXPECT_FALSE(Visible(item, CItemWnd::kIdStatusLabel));
    Clock::PinLocalNow(&now);
}

TEST_F(ItemTest, TallItemsShowJoinInProgressAndStartOnlyWhenTheRoleMayStart) {
    CItemWnd& running = ShowMeeting(Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -10));
    EXPECT_TRUE(Enabled(running.GetMeetingButton()));
    EXPECT_EQ(ResourceText(CItemWnd::kJoinString), WindowText(running.GetMeetingButton()));
    EXPECT_EQ(ResourceText(CItemWnd::kInProgressString), ControlText(running, CItemWnd::kIdStatusLabel));

    struct Case {
        INT32 privilege;
        int startMinutes;
        bool offered;
    };
    // An alternate host may start from 15 minutes before; a host any time today.
    for (const Case& c : {Case{MeetingPrivilege::AlternateHost, 16, false}, Case{MeetingPrivilege::AlternateHost, 14, true},
                          Case{MeetingPrivilege::Host, 50, true}}) {
        CItemWnd& item = ShowMeeting(Meeting(MeetingStatus::Upcoming, c.privilege, c.startMinutes));
        EXPECT_EQ(c.offered, Visible(item, CItemWnd::kIdMeetingButton)) << c.privilege << " " << c.startMinutes;
        EXPECT_EQ(ResourceText(CItemWnd::kStartString), WindowText(item.GetMeetingButton()));
    }
    CMeetingRecord pending = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 5);
    pending.m_bAudioPending = 1;
    EXPECT_FALSE(Visible(ShowMeeting(pending), CItemWnd::kIdMeetingButton));
}

TEST_F(ItemTest, MeetingButtonStartsOrJoinsThroughTheFrame) {
    CMeetingRecord hosted = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 20);
    hosted.m_strTopic = L"Plan & act";
    CItemWnd& start = ShowMeeting(hosted);
    ::SendMessageW(start.m_hWnd, WM_COMMAND, MAKEWPARAM(CItemWnd::kIdMeetingButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(start.GetMeetingButton()));
    CItemWnd& join = ShowMeeting(Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -5));
    ::SendMessageW(join.m_hWnd, WM_COMMAND, MAKEWPARAM(CItemWnd::kIdMeetingButton, BN_CLICKED), 0);
    ASSERT_EQ(2u, frame.calls.size());
    EXPECT_EQ(L"StartMeeting key=123456789 key2=c-77 topic=Plan & act value=1", frame.calls[0]);
    EXPECT_EQ(0u, frame.calls[1].find(L"JoinMeeting key=123456789 key2=c-77 password=pw1 "
                                      L"site=https://other.example.com/site value=1"));
}

TEST_F(ItemTest, ClicksSelectTheRowAndAskForTheBubbleWithTheItemsScreenRectangle) {
    ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 180));
    CMeetingRecord second = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 240);
    second.m_nIndex = 7;
    CItemWnd& item = ShowMeeting(second);
    ::SendMessageW(item.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    ASSERT_EQ(1u, Requests().size());
    RECT expected{};
    ::GetWindowRect(item.m_hWnd, &expected);
    EXPECT_TRUE(::EqualRect(&expected, &Requests()[0].rect));
    EXPECT_EQ(7, Requests()[0].index);
    EXPECT_EQ(item.m_hWnd, Requests()[0].item);
    ASSERT_EQ(1u, g_rows.size());
    EXPECT_EQ(1u, g_rows[0]);

    // The menu's "open info" asks for the bubble as well.
    ::SendMessageW(item.m_hWnd, WM_COMMAND, CItemWnd::kCmdOpenInfo, 0);
    EXPECT_EQ(2u, Requests().size());
}

TEST_F(ItemTest, RestingOnAnItemAsksForTheBubbleOncePerSecond) {
    CItemWnd& item = ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Attendee, 180));
    if (!PutCursorOn(&item)) GTEST_SKIP() << "the display does not move the cursor";
    for (int tick = 0; tick < 3; ++tick) HoverTick(item);
    EXPECT_TRUE(Requests().empty());
    HoverTick(item);
    EXPECT_EQ(1u, Requests().size());
    for (int tick = 0; tick < 3; ++tick) HoverTick(item);
    ASSERT_TRUE(PutCursorOn(nullptr));
    HoverTick(item);  // leaving starts the count again
    ASSERT_TRUE(PutCursorOn(&item));
    for (int tick = 0; tick < 3; ++tick) HoverTick(item);
    EXPECT_EQ(1u, Requests().size());
}

TEST_F(ItemTest, ContextMenuOffersEditOrDetailsByValidityAndPostsTheChoice) {
    std::vector<UINT> offered;
    POINT at{};
    UINT flags = 0;
    const PopupMenu::Tracker tray = PopupMenu::SetTracker([&](HMENU menu, UINT trackFlags, int x, int y, HWND) -> UINT {
        offered.clear();
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) offered.push_back(::GetMenuItemID(menu, i));
        at = {x, y};
        flags = trackFlags;
        return CItemWnd::kCmdOpenInfo;
    });
    CMeetingRecord meeting = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 180);
    CItemWnd& item = ShowMeeting(meeting);
    PutCursorOn(nullptr);
    ::SendMessageW(item.m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 5));
    EXPECT_EQ((std::vector<UINT>{CItemWnd::kCmdOpenInfo, CItemWnd::kCmdViewDetail, CItemWnd::kCmdAddZorvan}), offered);
    EXPECT_EQ(0x180u, flags);
    // With the cursor elsewhere the menu opens at the item's centre.
    RECT rect{};
    ::GetWindowRect(item.m_hWnd, &rect);
    EXPECT_EQ((rect.top + rect.bottom) / 2 + 3, at.y);
    EXPECT_EQ(1u, g_rows.size());
    testsupport::PumpPending();
    EXPECT_EQ(1u, Requests().size());

    meeting.m_bValid = 0;
    item.RefreshItemWnd(meeting);
    item.CreatePopupMenu();
    EXPECT_EQ((std::vector<UINT>{CItemWnd::kCmdOpenInfo, CItemWnd::kCmdEditItem, CItemWnd::kCmdAddZorvan}), offered);
    PopupMenu::SetTracker(tray);
}

TEST_F(ItemTest, TallItemHostLineCutsALongNameSoTheDurationStays) {
    CMeetingRecord meeting = Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -10, 90);
    CItemWnd& item = ShowMeeting(meeting);
    const CStringEx duration = ItemRules::DurationText(meeting);
    EXPECT_EQ(L"Host: Ann Host | " + duration.str(), ControlText(item, CItemWnd::kIdHostLine));

    meeting.m_strHostName = L"Maximiliana Konstantinopoulou-Vandenberghe of the Northern Division";
    item.RefreshItemWnd(meeting);
    const std::wstring line = ControlText(item, CItemWnd::kIdHostLine);
    // A refilled item cuts the name exactly as a fresh one does.
    EXPECT_EQ(line, ControlText(ShowMeeting(meeting), CItemWnd::kIdHostLine));
    EXPECT_NE(std::wstring::npos, line.find(L"... | " + duration.str()));
    EXPECT_EQ(0u, line.find(L"Host: Maxim"));
}

TEST_F(ItemTest, PaintsBackgroundPerStateWithTheBottomLine) {
    CItemWnd& normal = ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Attendee, 180));
    CItemWnd& tall = ShowMeeting(Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -10));
    RECT client{}, normalClient{};
    ::GetClientRect(tall.m_hWnd, &client);
    ::GetClientRect(normal.m_hWnd, &normalClient);
    Canvas canvas(client.right, client.bottom);
    auto print = [&](CItemWnd& item) {
        ::SendMessageW(item.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    };
    print(normal);
    EXPECT_EQ(kWhite, canvas.At(2, 2));
    EXPECT_EQ(CItemWnd::kBottomLine, canvas.At(client.right / 2, normalClient.bottom - 1));
    normal.SetHighlight(TRUE);
    print(normal);
    EXPECT_TRUE(Near(CItemWnd::kHighlightTop, canvas.At(2, 0), 6)) << std::hex << canvas.At(2, 0);

    print(tall);
    EXPECT_EQ(CItemWnd::kTallBackground, canvas.At(2, 2));
}

TEST(ItemRulesTest, DurationTextsFollowHoursAndMinutes) {
    auto text = [](int recordedSeconds, int scheduledMinutes) {
        CMeetingRecord meeting;
        meeting.m_dtStart = 46000.5;
        meeting.m_nDurationSeconds = recordedSeconds;
        meeting.m_dtEnd = CTimeApi::AddSeconds(meeting.m_dtStart, scheduledMinutes * 60);
        return ItemRules::DurationText(meeting).str();
    };
    EXPECT_EQ(L"1 hour 30 mins", text(5400, 90));
    EXPECT_EQ(L"3 hours 1 min", text(10860, 181));
    // A meeting without a host keeps its scheduled minutes under zero hours.
    EXPECT_EQ(L"45 mins", text(0, 45));
}

TEST_F(ItemTest, RecordingIndicatorFollowsTheTopicButNotForAttendeesOfRestartableMeetings) {
    CMeetingRecord meeting = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 180);
    meeting.m_bRecurring = TRUE;
    meeting.m_bException = TRUE;  // the series icon wins
    meeting.m_nServiceType = MeetingService::Event;
    meeting.m_bHasRecording = 1;
    CItemWnd& item = ShowMeeting(meeting);
    HWND indicator = Control(item, CItemWnd::kIdRecording);
    ASSERT_TRUE(::IsWindowVisible(indicator));
    EXPECT_FALSE(::IsWindowEnabled(indicator));
    // It sits right of the topic and its icons.
    RECT topic{}, moved{};
    ::GetWindowRect(Control(item, CItemWnd::kIdTopic), &topic);
    ::GetWindowRect(indicator, &moved);
    EXPECT_GT(moved.left, topic.right);

    // An attendee of a meeting that can still be restarted does not see the recording.
    meeting.m_nPrivilege = MeetingPrivilege::Attendee;
    meeting.m_nStatus = MeetingStatus::Past;
    meeting.m_dtStart = CTimeApi::AddSeconds(now, -600);
    item.RefreshItemWnd(meeting);
    EXPECT_FALSE(::IsWindowVisible(indicator));
}

TEST_F(ItemTest, TopicColourDimsForPastNormalItemsAndTurnsWhiteWhenHighlighted) {
    CItemWnd& upcoming = ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Attendee, 180));
    CItemWnd& past = ShowMeeting(Meeting(MeetingStatus::Past, MeetingPrivilege::Attendee, -180));
    // The colour the item gives its topic control to draw with.
    auto topicColour = [](CItemWnd& item) {
        Canvas canvas(1, 1);
        ::SendMessageW(item.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                       reinterpret_cast<LPARAM>(Control(item, CItemWnd::kIdTopic)));
        return ::GetTextColor(canvas.dc());
    };
    EXPECT_EQ(RGB(70, 118, 136), topicColour(upcoming));
    EXPECT_EQ(RGB(153, 153, 153), topicColour(past));
    past.SetHighlight(TRUE);
    EXPECT_EQ(kWhite, topicColour(past));
}
}  // namespace
