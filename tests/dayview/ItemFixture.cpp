#include "ItemFixture.h"

#include "Clock.h"
#include "webapi/MeetingStore.h"
#include "TimeApi.h"
#include "UIToolkit.h"

namespace itemtest {
namespace {
const wchar_t kDayViewClass[] = L"QkTest_ItemDayView";
std::vector<WPARAM> g_rows;

LRESULT CALLBACK DayViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CItemWnd::kHighlightRowMessage) {
        g_rows.push_back(wParam);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

std::vector<WPARAM>& SelectedRows() { return g_rows; }

HRESULT BubbleRecorder::HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) {
    if (code == VelEvent::ShowBubble && first)
        requests.push_back({*reinterpret_cast<const RECT*>(first), second, reinterpret_cast<HWND>(third)});
    return S_OK;
}

void ItemTest::SetUpTestSuite() {
    CommandTest::SetUpTestSuite();
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = DayViewProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kDayViewClass;
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::RegisterClassExW(&wc);
}

void ItemTest::TearDownTestSuite() {
    ::UnregisterClassW(kDayViewClass, ::GetModuleHandleW(nullptr));
    CommandTest::TearDownTestSuite();
}

void ItemTest::SetUp() {
    CommandTest::SetUp();
    now = webapitest::At(webapitest::Today(), 10, 0);
    Clock::PinLocalNow(&now);
    SignIn();
    dayView = ::CreateWindowExW(WS_EX_TOPMOST, kDayViewClass, L"day", WS_POPUP | WS_VISIBLE, 100, 100, 420, 300,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    container = ::CreateWindowExW(0, kDayViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 420, 300, dayView, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(container);
    host.app->Bus().Subscribe(VelEvent::ShowBubble, &bubbles);
    g_rows.clear();
}

void ItemTest::TearDown() {
    host.app->Bus().Unsubscribe(VelEvent::ShowBubble, &bubbles);
    items.clear();
    if (dayView) ::DestroyWindow(dayView);
    Clock::PinLocalNow(nullptr);
    CommandTest::TearDown();
}

CItemWnd& ItemTest::MakeItem(bool tall) {
    items.push_back(std::make_unique<CItemWnd>(frame.get()));
    CItemWnd& item = *items.back();
    EXPECT_TRUE(item.Create(container, tall ? CItemWnd::kTallTemplate : CItemWnd::kNormalTemplate, tall));
    int y = 0;
    for (size_t i = 0; i + 1 < items.size(); ++i) {
        RECT rect{};
        ::GetWindowRect(items[i]->m_hWnd, &rect);
        y += rect.bottom - rect.top;
    }
    ::SetWindowPos(item.m_hWnd, nullptr, 0, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    item.SetRowIndex(static_cast<int>(items.size()) - 1);
    return item;
}

CItemWnd& ItemTest::ShowMeeting(const CMeetingRecord& meeting) {
    CItemWnd& item = MakeItem(meeting.m_bProminent != 0);
    EXPECT_EQ(S_OK, item.RefreshItemWnd(meeting));
    testsupport::PumpPending();
    return item;
}

CMeetingRecord ItemTest::Meeting(INT32 status, INT32 privilege, int startMinutes, int minutes) const {
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
    meeting.m_bProminent = status != MeetingStatus::Past &&
                           (status == MeetingStatus::InProgress || (startMinutes < 60 && startMinutes + minutes > 0));
    return meeting;
}

bool ItemTest::PutCursorOn(const CItemWnd* item) const {
    POINT target{5, 5};
    if (item) {
        RECT rect{};
        ::GetWindowRect(item->m_hWnd, &rect);
        target = {(rect.left + rect.right) / 2, rect.top + 3};
    }
    return testsupport::MoveCursorTo(target);
}
}  // namespace itemtest
