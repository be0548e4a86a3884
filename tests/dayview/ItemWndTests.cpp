// Meeting items filled from records: their texts, button and status per
// state and role, what their button and clicks reach, and how they paint.
#include "Clock.h"
#include "ItemFixture.h"
#include "ItemRules.h"
#include "DcGuards.h"
#include "ModuleState.h"
#include "PopupMenu.h"
#include "TimeApi.h"
#include "VelGdiplus.h"

using namespace itemtest;
using Lines = std::vector<std::wstring>;

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);

bool Enabled(HWND window) { return ::IsWindowEnabled(window) != FALSE; }
}  // namespace

TEST_F(ItemTest, NormalItemShowsTimeAndEscapedTopicAndNoButtonUntilHovered) {
    CMeetingRecord meeting = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 180);
    meeting.m_strTopic = L"R&D sync";
    CItemWnd& item = ShowMeeting(meeting);
    ASSERT_FALSE(item.IsTall());

    SYSTEMTIME start{};
    ::VariantTimeToSystemTime(meeting.m_dtStart, &start);
    CStringEx time;
    CTimeApi::GetLocalTimeString(&start, time);
    EXPECT_EQ(time.str(), ControlText(item, CItemWnd::kIdStartTime));
    EXPECT_EQ(L"R&&D sync", ControlText(item, CItemWnd::kIdTopic));
    // A refill never shows the button of a normal item, even to the host.
    EXPECT_FALSE(Visible(item, CItemWnd::kIdMeetingButton));
    EXPECT_FALSE(item.IsPast());

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
    EXPECT_TRUE(restart.IsPast());

    ASSERT_TRUE(PutCursorOn(&start));
    HoverTick(restart);
    HoverTick(start);
    EXPECT_FALSE(Visible(restart, CItemWnd::kIdMeetingButton));
    EXPECT_TRUE(Visible(start, CItemWnd::kIdMeetingButton));
    EXPECT_EQ(ResourceText(CItemWnd::kStartString), WindowText(start.GetMeetingButton()));
    // The button takes room from the topic while it shows.
    RECT topic{}, button{};
    ::GetWindowRect(Control(start, CItemWnd::kIdTopic), &topic);
    ::GetWindowRect(start.GetMeetingButton(), &button);
    EXPECT_LE(topic.right, button.left - 2);

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
    EXPECT_EQ(ResourceText(CItemWnd::kJoinString), WindowText(button));
    EXPECT_TRUE(Visible(item, CItemWnd::kIdStatusLabel));
    EXPECT_EQ(ResourceText(CItemWnd::kNotStartedString), ControlText(item, CItemWnd::kIdStatusLabel));

    // Ten minutes before the start the attendee may go in.
    const DATE later = CTimeApi::AddSeconds(now, 20 * 60);
    Clock::PinLocalNow(&later);
    HoverTick(item);
    EXPECT_TRUE(Enabled(button));
    EXPECT_TRUE(item.CanJoinBeforeHostNow());
    EXPECT_FALSE(Visible(item, CItemWnd::kIdStatusLabel));
    Clock::PinLocalNow(&now);
}

TEST_F(ItemTest, TallItemsShowJoinInProgressAndStartOnlyWhenTheRoleMayStart) {
    CItemWnd& running = ShowMeeting(Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -10));
    EXPECT_TRUE(running.IsInProgressMarked());
    EXPECT_TRUE(Enabled(running.GetMeetingButton()));
    EXPECT_EQ(ResourceText(CItemWnd::kJoinString), WindowText(running.GetMeetingButton()));
    EXPECT_EQ(ResourceText(CItemWnd::kInProgressString), ControlText(running, CItemWnd::kIdStatusLabel));
    EXPECT_TRUE(Visible(running, CItemWnd::kIdStatusLabel));

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
        EXPECT_EQ(c.offered, Enabled(item.GetMeetingButton()));
        EXPECT_EQ(ResourceText(CItemWnd::kStartString), WindowText(item.GetMeetingButton()));
        EXPECT_FALSE(Visible(item, CItemWnd::kIdStatusLabel));
    }
    CMeetingRecord pending = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 5);
    pending.m_bAudioPending = 1;
    EXPECT_FALSE(Visible(ShowMeeting(pending), CItemWnd::kIdMeetingButton));
}

TEST_F(ItemTest, MeetingButtonStartsOrJoinsThroughTheMeetingsLibrary) {
    const std::wstring owner = commandtest::HandleText(frame->m_hWnd);
    TakeCalls();
    CMeetingRecord hosted = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 20);
    hosted.m_strTopic = L"Plan & act";
    CItemWnd& start = ShowMeeting(hosted);
    ::SendMessageW(start.m_hWnd, WM_COMMAND, MAKEWPARAM(CItemWnd::kIdMeetingButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(start.GetMeetingButton()));
    Lines calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(L"StartScheduledMeeting\towner=" + owner +
                  L"\tkey=123456789\ttopic=Plan & act\tvalue=1\tkey2=c-77\tcaller=0\tphone=(null)\tattendee=(null)",
              calls[0]);

    CItemWnd& join = ShowMeeting(Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -5));
    ::SendMessageW(join.m_hWnd, WM_COMMAND, MAKEWPARAM(CItemWnd::kIdMeetingButton, BN_CLICKED), 0);
    calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(L"JoinMeeting\towner=" + owner +
                  L"\tkey=123456789\tpassword=pw1\tsite=https://other.example.com/site\tvalue=1\tkey2=c-77"
                  L"\tcaller=0\tphone=(null)\tattendee=(null)",
              calls[0]);

    // Events and meetings of another site open on their pages, not in the library.
    CMeetingRecord event = Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -5);
    event.m_nServiceType = MeetingService::Event;
    CMeetingRecord crossSite = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 20);
    crossSite.m_bCrossSite = 1;
    for (const CMeetingRecord& other : {event, crossSite}) {
        CItemWnd& item = ShowMeeting(other);
        ::SendMessageW(item.m_hWnd, WM_COMMAND, MAKEWPARAM(CItemWnd::kIdMeetingButton, BN_CLICKED), 0);
        EXPECT_TRUE(TakeCalls().empty());
    }
}

TEST_F(ItemTest, ClicksSelectTheRowAndAskForTheBubbleWithTheItemsScreenRectangle) {
    ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 180));
    CMeetingRecord second = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 240);
    second.m_nIndex = 7;
    CItemWnd& item = ShowMeeting(second);
    ::SendMessageW(item.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    ASSERT_EQ(1u, bubbles.requests.size());
    RECT expected{};
    ::GetWindowRect(item.m_hWnd, &expected);
    EXPECT_TRUE(::EqualRect(&expected, &bubbles.requests[0].rect));
    EXPECT_EQ(7, bubbles.requests[0].index);
    EXPECT_EQ(item.m_hWnd, bubbles.requests[0].item);
    ASSERT_EQ(1u, SelectedRows().size());
    EXPECT_EQ(1u, SelectedRows()[0]);

    // The menu's "open info" asks for the bubble as well.
    ::SendMessageW(item.m_hWnd, WM_COMMAND, CItemWnd::kCmdOpenInfo, 0);
    EXPECT_EQ(2u, bubbles.requests.size());
}

TEST_F(ItemTest, RestingOnAnItemAsksForTheBubbleOncePerSecond) {
    CItemWnd& item = ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Attendee, 180));
    if (!PutCursorOn(&item)) GTEST_SKIP() << "the display does not move the cursor";
    for (int tick = 0; tick < 3; ++tick) HoverTick(item);
    EXPECT_TRUE(bubbles.requests.empty());
    HoverTick(item);
    EXPECT_EQ(1u, bubbles.requests.size());
    for (int tick = 0; tick < 3; ++tick) HoverTick(item);
    ASSERT_TRUE(PutCursorOn(nullptr));
    HoverTick(item);  // leaving starts the count again
    ASSERT_TRUE(PutCursorOn(&item));
    for (int tick = 0; tick < 3; ++tick) HoverTick(item);
    EXPECT_EQ(1u, bubbles.requests.size());
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
    EXPECT_EQ((rect.left + rect.right) / 2 - 3, at.x);
    EXPECT_EQ((rect.top + rect.bottom) / 2 + 3, at.y);
    EXPECT_EQ(1u, SelectedRows().size());
    testsupport::PumpPending();
    EXPECT_EQ(1u, bubbles.requests.size());

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
    // The line ends left of the join button.
    RECT hostRect{}, button{};
    ::GetWindowRect(Control(item, CItemWnd::kIdHostLine), &hostRect);
    ::GetWindowRect(item.GetMeetingButton(), &button);
    EXPECT_LE(hostRect.right, button.left);
}

TEST_F(ItemTest, PaintsBackgroundPerStateWithTheBottomLineAndTheInProgressMark) {
    CItemWnd& normal = ShowMeeting(Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Attendee, 180));
    CItemWnd& tall = ShowMeeting(Meeting(MeetingStatus::InProgress, MeetingPrivilege::Attendee, -10));
    RECT client{};
    ::GetClientRect(tall.m_hWnd, &client);
    const int width = client.right;
    const int height = client.bottom;

    Canvas canvas(width, height);
    ::SendMessageW(normal.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    RECT normalClient{};
    ::GetClientRect(normal.m_hWnd, &normalClient);
    EXPECT_EQ(kWhite, canvas.At(2, 2));
    EXPECT_EQ(CItemWnd::kBottomLine, canvas.At(width / 2, normalClient.bottom - 1));

    normal.SetHighlight(TRUE);
    ::SendMessageW(normal.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_TRUE(Near(CItemWnd::kHighlightTop, canvas.At(2, 0), 6)) << std::hex << canvas.At(2, 0);
    EXPECT_TRUE(Near(CItemWnd::kHighlightMiddle, canvas.At(2, normalClient.bottom / 2), 6));

    ::SendMessageW(tall.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(CItemWnd::kTallBackground, canvas.At(2, 2));
    // The in-progress mark sits at the button's left edge, the status label right of it.
    RECT button{}, label{};
    ::GetWindowRect(tall.GetMeetingButton(), &button);
    ::GetWindowRect(Control(tall, CItemWnd::kIdStatusLabel), &label);
    ::MapWindowPoints(nullptr, tall.m_hWnd, reinterpret_cast<POINT*>(&button), 2);
    ::MapWindowPoints(nullptr, tall.m_hWnd, reinterpret_cast<POINT*>(&label), 2);
    SIZE mark{};
    ASSERT_TRUE(CVelGdiplus::GetImageSize(mark, CItemWnd::kInProgressImage));
    EXPECT_EQ(button.left + mark.cx + 2, label.left);
    int marked = 0;
    for (int x = button.left; x < button.left + mark.cx; ++x)
        for (int y = label.top - 3; y < label.bottom + 3; ++y)
            if (canvas.At(x, y) != CItemWnd::kTallBackground) ++marked;
    EXPECT_GT(marked, mark.cx);
}

TEST(ItemRulesTest, DurationTextsFollowHoursAndMinutes) {
    HMODULE resources = ::LoadLibraryExW((testsupport::BinFolder() + L"..\\qksjres.dll").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(resources);
    ModuleState::SetResourceInstance(resources);
    struct Case {
        int hours, minutes;
        const wchar_t* text;
    };
    for (const Case& c : {Case{2, 0, L"2 hours"}, Case{1, 30, L"1 hour 30 mins"}, Case{0, 0, L"0 min"},
                          Case{0, 1, L"1 min"}, Case{3, 1, L"3 hours 1 min"}, Case{1, 0, L"1 hour"}}) {
        CMeetingRecord meeting;
        meeting.m_dtStart = 46000.5;
        meeting.m_nDurationSeconds = (c.hours * 60 + c.minutes) * 60;
        meeting.m_dtEnd = CTimeApi::AddSeconds(meeting.m_dtStart, meeting.m_nDurationSeconds);
        EXPECT_EQ(std::wstring(c.text), ItemRules::DurationText(meeting).str()) << c.hours << ":" << c.minutes;
    }
    // A meeting without a host keeps its scheduled minutes under zero hours.
    CMeetingRecord hostless;
    hostless.m_dtStart = 46000.5;
    hostless.m_dtEnd = CTimeApi::AddSeconds(hostless.m_dtStart, 45 * 60);
    EXPECT_EQ(L"45 mins", ItemRules::DurationText(hostless).str());
    ModuleState::SetResourceInstance(nullptr);
    ::FreeLibrary(resources);
}

TEST_F(ItemTest, TopicIconsFollowTheTopicTextAndTheRecordingIndicatorAfterThem) {
    CMeetingRecord meeting = Meeting(MeetingStatus::Upcoming, MeetingPrivilege::Host, 180);
    meeting.m_bRecurring = TRUE;
    meeting.m_bException = TRUE;  // the series icon wins
    meeting.m_nServiceType = MeetingService::Event;
    meeting.m_bHasRecording = 1;
    CItemWnd& item = ShowMeeting(meeting);
    HWND indicator = Control(item, CItemWnd::kIdRecording);
    ASSERT_TRUE(::IsWindowVisible(indicator));
    EXPECT_FALSE(::IsWindowEnabled(indicator));

    RECT client{};
    ::GetClientRect(item.m_hWnd, &client);
    Canvas canvas(client.right, client.bottom);
    ::SendMessageW(item.m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    RECT topic{}, moved{};
    ::GetWindowRect(Control(item, CItemWnd::kIdTopic), &topic);
    ::GetWindowRect(indicator, &moved);
    ::MapWindowPoints(nullptr, item.m_hWnd, reinterpret_cast<POINT*>(&topic), 2);
    ::MapWindowPoints(nullptr, item.m_hWnd, reinterpret_cast<POINT*>(&moved), 2);
    SIZE recurring{}, service{};
    ASSERT_TRUE(CVelGdiplus::GetImageSize(recurring, CItemWnd::kRecurringImage));
    ASSERT_TRUE(CVelGdiplus::GetImageSize(service, CItemWnd::kServiceRxImage));
    EXPECT_EQ(topic.right + 2 + recurring.cx + 2 + service.cx + 2, moved.left);
    EXPECT_EQ(topic.top, moved.top);
    // Both icons are drawn between the topic and the indicator.
    auto painted = [&](int left, int width) {
        int count = 0;
        for (int x = left; x < left + width; ++x)
            for (int y = topic.top; y < topic.top + recurring.cy && y < client.bottom - 1; ++y)
                if (canvas.At(x, y) != RGB(255, 255, 255)) ++count;
        return count;
    };
    EXPECT_GT(painted(topic.right + 2, recurring.cx), recurring.cx);
    EXPECT_GT(painted(topic.right + 4 + recurring.cx, service.cx), service.cx);

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
    // The topic as the screen shows it: its darkest pixel (the text's own colour
    // where a stroke covers whole pixels) and how many pixels are white.
    struct Shown {
        COLORREF darkest = RGB(255, 255, 255);
        int white = 0;
    };
    auto topicOnScreen = [&](CItemWnd& item) {
        ::RedrawWindow(item.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT topic{};
        ::GetWindowRect(Control(item, CItemWnd::kIdTopic), &topic);
        ::MapWindowPoints(nullptr, item.m_hWnd, reinterpret_cast<POINT*>(&topic), 2);
        const int width = topic.right - topic.left;
        const int height = topic.bottom - topic.top;
        Canvas canvas(width, height);
        WindowDC screen(item.m_hWnd);
        ::BitBlt(canvas.dc(), 0, 0, width, height, screen.get(), topic.left, topic.top, SRCCOPY);
        Shown shown;
        auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) {
                const COLORREF pixel = canvas.At(x, y);
                if (sum(pixel) < sum(shown.darkest)) shown.darkest = pixel;
                if (pixel == kWhite) ++shown.white;
            }
        return shown;
    };
    EXPECT_TRUE(Near(RGB(70, 118, 136), topicOnScreen(upcoming).darkest, 12));
    EXPECT_TRUE(Near(RGB(153, 153, 153), topicOnScreen(past).darkest, 12));
    past.SetHighlight(TRUE);
    EXPECT_GT(topicOnScreen(past).white, 10);
}
