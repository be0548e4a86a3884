#include "Clock.h"
#include "DayViewFixture.h"

#include <algorithm>

#include "HostEvents.h"
#include "TimeApi.h"
#include "webapi/WebApiLibrary.h"

using namespace webapitest;

namespace dayviewtest {
namespace {
constexpr UINT kLogged[] = {VelEvent::ShowBubble, VelEvent::CloseBubble};
}  // namespace

HRESULT EventLog::HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) {
    Fired event{code, {}, second, reinterpret_cast<HWND>(third)};
    if (code == VelEvent::ShowBubble && first) event.rect = *reinterpret_cast<const RECT*>(first);
    fired.push_back(event);
    return S_OK;
}

size_t EventLog::Count(UINT code) const {
    const auto matches = [code](const Fired& event) { return event.code == code; };
    return static_cast<size_t>(std::count_if(fired.begin(), fired.end(), matches));
}

void DayViewTest::SetUp() {
    SetNow(At(Today(), 10, 0));
    SetEventHost(host.app);
    for (UINT code : kLogged) host.app->Bus().Subscribe(code, &events);
    // Unless a test says otherwise, the one-time empty view and tip are retired.
    settings.SetDword(L"ShowOnceSchedule", 1);
    settings.SetDword(L"ShowOncePastMeeting", 1);
}

void DayViewTest::TearDown() {
    if (view) host.app->RemoveMessageFilter(view.get());
    view.reset();
    if (listView) ::DestroyWindow(listView);
    provider.reset();
    for (UINT code : kLogged) host.app->Bus().Unsubscribe(code, &events);
    SetEventHost(nullptr);
    HoldShift(false);
    Clock::PinLocalNow(nullptr);
}

void DayViewTest::SetNow(DATE value) {
    now = value;
    Clock::PinLocalNow(&now);
}

void DayViewTest::Publish(const std::vector<StoreMeeting>& meetings) {
    store.Write(meetings);
    Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
    ASSERT_EQ(S_OK, frame.GetSyncObject(sync.GetAddressOf(), FALSE));
    ASSERT_EQ(2, Synchronise(sync.Get(), 0.0, 0.0));
}

CDailyView& DayViewTest::Show(DATE day, int height) {
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

void DayViewTest::Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (host.app->PreTranslateMessage(&msg)) continue;
        if (listView && ::IsDialogMessageW(listView, &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void DayViewTest::Key(UINT key) {
    ::PostMessageW(view->m_hWnd, WM_KEYDOWN, key, 1);
    Pump();
}

void DayViewTest::Tick(UINT_PTR timer, int ticks) {
    for (int i = 0; i < ticks; ++i) ::SendMessageW(view->m_hWnd, WM_TIMER, timer, 0);
}

void DayViewTest::Settle() {
    EXPECT_TRUE(testsupport::PumpUntil(
        [this] {
            Pump();
            return !view->IsBusy();
        },
        3000));
}

void DayViewTest::HoldShift(bool down) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

std::vector<INT32> DayViewTest::ShownMeetings() const {
    std::vector<INT32> indexes;
    for (const CItemWnd* item : view->GetItems().GetShownItems()) indexes.push_back(item->GetMeeting().m_nIndex);
    return indexes;
}

std::vector<int> DayViewTest::RowTops() const {
    std::vector<int> tops;
    for (const CItemWnd* item : view->GetItems().GetShownItems()) {
        RECT rect{};
        ::GetWindowRect(item->m_hWnd, &rect);
        ::MapWindowPoints(nullptr, view->GetItems().m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        tops.push_back(rect.top);
    }
    return tops;
}

INT32 DayViewTest::HighlightedMeeting() const {
    const int row = view->GetHighlightRow();
    const auto& shown = view->GetItems().GetShownItems();
    return row >= 0 && row < static_cast<int>(shown.size()) ? shown[static_cast<size_t>(row)]->GetMeeting().m_nIndex
                                                             : -1;
}
}  // namespace dayviewtest
