#pragma once
// A day view as the meeting list view holds it: a child of a dialog with the
// list view's buttons 40001 to 40003 above it, reading a real data provider
// that the real web-API component feeds from a store the test writes, with
// the real host's event bus and message filters, the resource library and the
// toolkit started for the whole run. "Now" is pinned to 10:00.
#include <windows.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "DailyView.h"
#include "MeetingDataProvider.h"
#include "support/RegistryValues.h"
#include "support/TestHost.h"
#include "support/RecordingFrame.h"
#include "webapi/MeetingStore.h"

namespace dayviewtest {
struct Fired {
    UINT code;
    RECT rect;
    INT_PTR index;
    HWND item;
};

class EventLog : public CVelEventListener {
public:
    HRESULT HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) override;
    [[nodiscard]] size_t Count(UINT code) const;
    std::vector<Fired> fired;
};

class DayViewTest : public ::testing::Test {
protected:
    static constexpr int kButtonBand = 30;

    void SetUp() override;
    void TearDown() override;

    void SetNow(DATE value);
    // Writes the store and has the web-API component take it up.
    void Publish(const std::vector<webapitest::StoreMeeting>& meetings);
    // A fresh provider on `day` and a fresh day view as wide as an item and
    // `height` pixels high (0: room for six rows and two 14-pixel strips),
    // refreshed once.
    CDailyView& Show(DATE day, int height = 0);

    // The host's loop: its filters (the day view among them), then the list
    // view's dialog manager.
    void Pump();
    void Key(UINT key);
    // One tick of the scroll timer `timer` (9 up, 10 down).
    void Tick(UINT_PTR timer, int ticks = 1);
    // Lets a running scroll end on its own timer.
    void Settle();
    // Holds Shift down (or lets it go) as the keyboard state reads it.
    static void HoldShift(bool down);

    // Meeting index per laid-out row; top of each row in the item area.
    [[nodiscard]] std::vector<INT32> ShownMeetings() const;
    [[nodiscard]] std::vector<int> RowTops() const;
    // The meeting of the highlighted row, or -1.
    [[nodiscard]] INT32 HighlightedMeeting() const;
    [[nodiscard]] std::pair<INT32, INT32> Window() const {
        return {provider->GetFirstVisibleIndex(), provider->GetLastVisibleIndex()};
    }
    [[nodiscard]] int ItemHeight() const { return view->GetItems().GetItemHeight(); }
    [[nodiscard]] HWND Strip(UINT id) const { return ::GetDlgItem(view->m_hWnd, static_cast<int>(id)); }

    TestHost host;
    testsupport::RecordingFrame frame;
    webapitest::MeetingStore store;
    SavedRegistryValues settings{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit",
                                 {L"ShowOnceSchedule", L"ShowOncePastMeeting"}};
    std::unique_ptr<CMeetingDataProvider> provider;
    std::unique_ptr<CDailyView> view;
    HWND listView = nullptr;
    EventLog events;
    DATE now = 0.0;
};
}  // namespace dayviewtest
