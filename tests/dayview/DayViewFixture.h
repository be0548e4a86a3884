#pragma once
// A day view as the meeting list view holds it: a child of a dialog with the
// list view's buttons 40001 to 40003 above it, reading a real data provider
// that the real web-API component feeds from a store the test writes, with
// the real host's event bus and message filters, the resource library and the
// toolkit started for the whole run. "Now" is pinned to 10:00.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "Clock.h"
#include "DailyView.h"
#include "HostEvents.h"
#include "MeetingDataProvider.h"
#include "TimeApi.h"
#include "support/RegistryValues.h"
#include "support/TestHost.h"
#include "support/RecordingFrame.h"
#include "webapi/MeetingStore.h"
#include "webapi/WebApiLibrary.h"

namespace dayviewtest {
inline constexpr UINT kLogged[] = {VelEvent::ShowBubble, VelEvent::CloseBubble};

struct Fired {
    UINT code;
    RECT rect;
    INT_PTR index;
    HWND item;
};

class EventLog : public CVelEventListener {
public:
    HRESULT HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) override {
        Fired event{code, {}, second, reinterpret_cast<HWND>(third)};
        if (code == VelEvent::ShowBubble && first) event.rect = *reinterpret_cast<const RECT*>(first);
        fired.push_back(event);
        return S_OK;
    }
    [[nodiscard]] size_t Count(UINT code) const {
        const auto matches = [code](const Fired& event) { return event.code == code; };
        return static_cast<size_t>(std::count_if(fired.begin(), fired.end(), matches));
    }
    std::vector<Fired> fired;
};

class DayViewTest : public ::testing::Test {
protected:
    static constexpr int kButtonBand = 30;

    void SetUp() override {
        SetNow(webapitest::At(webapitest::Today(), 10, 0));
        SetEventHost(host.app);
        for (UINT code : kLogged) host.app->Bus().Subscribe(code, &events);
        // Unless a test says otherwise, the one-time empty view and tip are retired.
        settings.SetDword(L"ShowOnceSchedule", 1);
        settings.SetDword(L"ShowOncePastMeeting", 1);
    }
    void TearDown() override {
        if (view) host.app->RemoveMessageFilter(view.get());
        view.reset();
        if (listView) ::DestroyWindow(listView);
        provider.reset();
        for (UINT code : kLogged) host.app->Bus().Unsubscribe(code, &events);
        SetEventHost(nullptr);
        HoldShift(false);
        Clock::PinLocalNow(nullptr);
    }

    void SetNow(DATE value) {
        now = value;
        Clock::PinLocalNow(&now);
    }
    // Writes the store and has the web-API component take it up.
    void Publish(const std::vector<webapitest::StoreMeeting>& meetings) {
        store.Write(meetings);
        Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
        ASSERT_EQ(S_OK, frame.GetSyncObject(sync.GetAddressOf(), FALSE));
        ASSERT_EQ(2, webapitest::Synchronise(sync.Get(), 0.0, 0.0));
    }
    // A fresh provider on `day` and a fresh day view as wide as an item and
    // `height` pixels high (0: room for six rows and two 14-pixel strips),
    // refreshed once.
    CDailyView& Show(DATE day, int height = 0) {
        if (view) host.app->RemoveMessageFilter(view.get());
        view.reset();
        if (listView) ::DestroyWindow(listView);
        provider = std::make_unique<CMeetingDataProvider>(&frame);
        provider->ResetDay(&day);
        provider->LoadDay(FALSE);

        // The normal item as its template makes it: the view is as wide, and by
        // default six of its rows and two 14-pixel strips high.
        const SIZE item = CItemWnd::TemplateSize(CItemWnd::kNormalTemplate);
        const int width = item.cx;
        if (height == 0) height = DailyViewLayout::kDateStripHeight + 6 * item.cy + 2 * 14;
        // The list view: a dialog with its three buttons above the day view.
        listView = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_CONTROLPARENT, L"#32770", L"list",
                                     WS_POPUP | WS_VISIBLE | WS_BORDER, 80, 80, width + 2,
                                     kButtonBand + height + 2, nullptr, nullptr, nullptr, nullptr);
        for (int id = 40001; id <= 40003; ++id)
            ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, (id - 40001) * 40, 2, 36, 24,
                              listView, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        view = std::make_unique<CDailyView>(provider.get(), &frame);
        EXPECT_TRUE(view->Create(listView, RECT{0, kButtonBand, width, kButtonBand + height}));
        host.app->AddMessageFilter(view.get());
        view->RefreshDailyView();
        ::SetFocus(view->m_hWnd);
        Pump();
        return *view;
    }

    // The host's loop: its filters (the day view among them), then the list
    // view's dialog manager.
    void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            if (host.app->PreTranslateMessage(&msg)) continue;
            if (listView && ::IsDialogMessageW(listView, &msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    void Key(UINT key) {
        ::PostMessageW(view->m_hWnd, WM_KEYDOWN, key, 1);
        Pump();
    }
    // One tick of the scroll timer `timer` (9 up, 10 down).
    void Tick(UINT_PTR timer, int ticks = 1) {
        for (int i = 0; i < ticks; ++i) ::SendMessageW(view->m_hWnd, WM_TIMER, timer, 0);
    }
    // Lets a running scroll end on its own timer.
    void Settle() {
        EXPECT_TRUE(testsupport::PumpUntil(
            [this] {
                Pump();
                return !view->IsBusy();
            },
            3000));
    }
    // Holds Shift down (or lets it go) as the keyboard state reads it.
    static void HoldShift(bool down) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

    // Meeting index per laid-out row; top of each row in the item area.
    [[nodiscard]] std::vector<INT32> ShownMeetings() const {
        std::vector<INT32> indexes;
        for (const CItemWnd* item : view->GetItems().GetShownItems()) indexes.push_back(item->GetMeeting().m_nIndex);
        return indexes;
    }
    // Meeting index per row window on screen, top to bottom; -1 for a visible
    // window of the item area that is no laid-out row.
    [[nodiscard]] std::vector<INT32> RowsOnScreen() const {
        std::vector<std::pair<int, INT32>> rows;
        const HWND area = view->GetItems().m_hWnd;
        for (HWND child = ::GetWindow(area, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!(::GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
            INT32 index = -1;
            for (const CItemWnd* item : view->GetItems().GetShownItems())
                if (item->m_hWnd == child) index = item->GetMeeting().m_nIndex;
            RECT rect{};
            ::GetWindowRect(child, &rect);
            rows.emplace_back(rect.top, index);
        }
        std::sort(rows.begin(), rows.end());
        std::vector<INT32> indexes;
        for (const auto& row : rows) indexes.push_back(row.second);
        return indexes;
    }
    [[nodiscard]] std::vector<int> RowTops() const {
        std::vector<int> tops;
        for (const CItemWnd* item : view->GetItems().GetShownItems()) {
            RECT rect{};
            ::GetWindowRect(item->m_hWnd, &rect);
            ::MapWindowPoints(nullptr, view->GetItems().m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
            tops.push_back(rect.top);
        }
        return tops;
    }
    // The meeting of the highlighted row, or -1.
    [[nodiscard]] INT32 HighlightedMeeting() const {
        const int row = view->GetHighlightRow();
        const auto& shown = view->GetItems().GetShownItems();
        return row >= 0 && row < static_cast<int>(shown.size()) ? shown[static_cast<size_t>(row)]->GetMeeting().m_nIndex
                                                                 : -1;
    }
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
