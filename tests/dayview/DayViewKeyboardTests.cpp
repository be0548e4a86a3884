// What the keyboard and clicks do to the highlighted meeting, and how the
// view hands the focus back to the list view.
#include "DayViewFixture.h"
#include "PopupMenu.h"

using namespace dayviewtest;
using namespace webapitest;

TEST_F(DayViewTest, ClickedRowIsHighlightedAndEnterAndSpaceActOnIt) {
    Publish(HourlyMeetings(Today() + 1.0, 8));
    Show(Today() + 1.0);
    view->ScrollDown();
    Tick(CDailyView::kDownTimer, 5);  // window 1..6

    // Enter and Space with nothing highlighted do nothing.
    Key(VK_RETURN);
    Key(VK_SPACE);
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_EQ(0u, events.Count(VelEvent::ShowBubble));

    // A click on an item highlights its row and gives the view the focus.
    ::SetFocus(listView);
    const CItemWnd* third = view->GetItems().GetShownItems()[2];
    ::SendMessageW(third->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(2, view->GetHighlightRow());
    EXPECT_EQ(view->m_hWnd, ::GetFocus());
    events.fired.clear();

    Key(VK_SPACE);
    ASSERT_EQ(1u, events.Count(VelEvent::ShowBubble));
    EXPECT_EQ(3, events.fired.back().index) << "the meeting is first + row";
    EXPECT_EQ(third->m_hWnd, events.fired.back().item);

    Key(VK_RETURN);
    ASSERT_EQ(1u, frame.calls.size());
    EXPECT_EQ(0u, frame.calls[0].find(L"ViewMeetingDetail key=k3 notFromOI=1 start="));

    // The list view highlights by meeting index.
    EXPECT_TRUE(view->SetHighlight(5));
    EXPECT_EQ(4, view->GetHighlightRow());
    EXPECT_FALSE(view->SetHighlight(0)) << "meeting 0 is not laid out";
}

TEST_F(DayViewTest, TabAndShiftTabLeaveForTheListViewsButtons) {
    Publish(HourlyMeetings(Today() + 1.0, 2));
    Show(Today() + 1.0);
    ASSERT_EQ(view->m_hWnd, ::GetFocus());
    Key(VK_TAB);
    EXPECT_EQ(::GetDlgItem(listView, 40001), ::GetFocus());

    ::SetFocus(view->m_hWnd);
    HoldShift(true);
    Key(VK_TAB);
    HoldShift(false);
    EXPECT_EQ(::GetDlgItem(listView, 40003), ::GetFocus());
}

TEST_F(DayViewTest, ShiftF10OpensTheHighlightedItemsMenu) {
    Publish(HourlyMeetings(Today() + 1.0, 2));
    Show(Today() + 1.0);
    HWND owner = nullptr;
    const PopupMenu::Tracker saved = PopupMenu::SetTracker([&](HMENU, UINT, int, int, HWND window) -> UINT {
        owner = window;
        return 0;
    });
    Key(VK_DOWN);
    Key(VK_DOWN);
    HoldShift(true);
    ::PostMessageW(view->m_hWnd, WM_SYSKEYDOWN, VK_F10, 1);
    Pump();
    HoldShift(false);
    EXPECT_EQ(view->GetItems().GetShownItems()[1]->m_hWnd, owner);

    // Without Shift, F10 is the system's.
    owner = nullptr;
    ::SendMessageW(view->m_hWnd, WM_SYSKEYDOWN, VK_F10, 1);
    PopupMenu::SetTracker(saved);
    EXPECT_EQ(nullptr, owner);
}

TEST_F(DayViewTest, ItemActionsOpenTheMeetingsDetailsOrEditorThroughTheFrame) {
    Publish(HourlyMeetings(Today() + 1.0, 1));
    Show(Today() + 1.0);
    CItemWnd& item = *view->GetItems().GetShownItems()[0];
    const CMeetingRecord shown = item.GetMeeting();
    struct Case {
        const char* what;
        void (*change)(CMeetingRecord&);
        UINT message;
        WORD command;
        std::wstring call;
    };
    const Case cases[] = {
        {"double click", [](CMeetingRecord&) {}, WM_LBUTTONDBLCLK, 0, L"ViewMeetingDetail key=k0 notFromOI=1"},
        {"double click on a meeting the list lost", [](CMeetingRecord& m) { m.m_bValid = 0; }, WM_LBUTTONDBLCLK, 0,
         L"EditMeeting key=k0 notFromOI=1"},
        {"edit of a meeting from the mail tool", [](CMeetingRecord& m) { m.m_nScheduleSource = ScheduleSource::OI; },
         WM_COMMAND, CItemWnd::kCmdEditItem, L"EditMeeting key=k0 notFromOI=0"},
        {"details", [](CMeetingRecord&) {}, WM_COMMAND, CItemWnd::kCmdViewDetail, L"ViewMeetingDetail key=k0 notFromOI=1"},
        {"button of another site's meeting", [](CMeetingRecord& m) { m.m_bCrossSite = 1; }, WM_COMMAND,
         CItemWnd::kIdMeetingButton, L"ViewMeetingDetail key=k0 notFromOI=1"},
        {"join button of an event", [](CMeetingRecord& m) { m.m_nServiceType = MeetingService::Event; }, WM_COMMAND,
         CItemWnd::kIdMeetingButton, L"ViewMeetingDetail key=k0 notFromOI=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMeetingRecord meeting = shown;
        meeting.m_nScheduleSource = ScheduleSource::NI;
        c.change(meeting);
        item.RefreshItemWnd(meeting);
        ::SetWindowTextW(item.GetMeetingButton(), testsupport::ResourceText(CItemWnd::kJoinString).c_str());
        frame.calls.clear();
        ::SendMessageW(item.m_hWnd, c.message, c.command, 0);
        ASSERT_EQ(1u, frame.calls.size());
        // The start time goes along with every page the frame opens.
        EXPECT_EQ(c.call + L" start=" + std::to_wstring(meeting.m_dtStart), frame.calls[0]);
    }
}
