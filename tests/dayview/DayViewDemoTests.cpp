// The demo day of the web-API component in the day view, as the screen shows
// it: a picture for people in the build folder, then scrolling by keyboard,
// wheel and strip clicks, and moving between days.
#include "Clock.h"
#include "DayViewFixture.h"
#include "TimeApi.h"
#include "support/ScreenShot.h"
#include "webapi/WebApiLibrary.h"

using namespace dayviewtest;
using namespace webapitest;

namespace {
std::wstring ScreenshotPath() {
    std::wstring folder = testsupport::BinFolder() + QK_SCREENSHOT_FOLDER;
    for (wchar_t& c : folder)
        if (c == L'/') c = L'\\';
    return folder + L"\\dayview.png";
}

void Click(HWND button) {
    RECT client{};
    ::GetClientRect(button, &client);
    const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
    ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::SendMessageW(button, WM_LBUTTONUP, 0, centre);
}

std::wstring LabelText(const CDailyView& view) {
    wchar_t text[128] = {};
    ::GetDlgItemTextW(view.GetDateStrip().m_hWnd, CDateTimeCtrl::kIdLabel, text, 128);
    return text;
}
}  // namespace

TEST_F(DayViewTest, DemoDayOnScreenScrollsByKeyboardWheelAndStripsAndMovesBetweenDays) {
    // The demo day is made around the real time.
    Clock::PinLocalNow(nullptr);
    MeetingStore::UseDemo();
    Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
    ASSERT_EQ(S_OK, frame.GetSyncObject(sync.GetAddressOf(), FALSE));
    ASSERT_EQ(2, Synchronise(sync.Get(), 0.0, 0.0));
    Show(Today());
    ASSERT_GT(provider->GetMeetingCount(), 6);
    const HWND up = Strip(CDailyView::kUpStripId);
    const HWND down = Strip(CDailyView::kDownStripId);
    ASSERT_TRUE(::IsWindowEnabled(up)) << "meetings of the morning lie above";
    ASSERT_TRUE(::IsWindowEnabled(down)) << "meetings of the evening lie below";
    Key(VK_DOWN);  // the first row highlighted, as the picture should show one
    EXPECT_EQ(0, view->GetHighlightRow());
    testsupport::PumpUntil([] { return false; }, 300);

    RECT screen{};
    ::GetWindowRect(view->m_hWnd, &screen);
    const auto shot = testsupport::CaptureScreen(screen);
    EXPECT_TRUE(testsupport::SavePng(*shot, ScreenshotPath())) << "no picture at " << ScreenshotPath().c_str();
    const DailyViewLayout& layout = view->GetLayout();
    EXPECT_TRUE(testsupport::Near(CDateTimeCtrl::kBackground, shot->At(40, 2)));
    EXPECT_TRUE(testsupport::Near(CVelScrollBar::kEdgeLine, shot->At(3, layout.upStrip.bottom - 1)));
    EXPECT_TRUE(testsupport::Near(CVelScrollBar::kEdgeLine, shot->At(3, layout.downStrip.top)));
    EXPECT_TRUE(testsupport::Near(RGB(255, 255, 255), shot->At(3, layout.upStrip.top + 1)));

    // Keyboard: the highlight walks down and the window follows it.
    const INT32 first = provider->GetFirstVisibleIndex();
    for (int i = 0; i < 12 && provider->GetFirstVisibleIndex() == first; ++i) {
        Key(VK_DOWN);
        Settle();
    }
    EXPECT_EQ(first + 1, provider->GetFirstVisibleIndex());
    // Wheel: back up.
    for (int i = 0; i < 12 && provider->GetFirstVisibleIndex() != first - 1; ++i) {
        ::SendMessageW(view->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        Settle();
    }
    EXPECT_EQ(first - 1, provider->GetFirstVisibleIndex());
    // Strip clicks, one meeting each.
    Click(::GetDlgItem(down, CDailyView::kDownStripId));
    Settle();
    EXPECT_EQ(first, provider->GetFirstVisibleIndex());
    Click(::GetDlgItem(up, CDailyView::kUpStripId));
    Settle();
    EXPECT_EQ(first - 1, provider->GetFirstVisibleIndex());
    EXPECT_TRUE(::IsWindowEnabled(down));

    // Days: Right to tomorrow, Left twice to yesterday, each with its meetings.
    Key(VK_RIGHT);
    EXPECT_EQ(Resource(CDateTimeCtrl::kTomorrowString), LabelText(*view));
    EXPECT_GT(provider->GetMeetingCount(), 0);
    EXPECT_EQ(static_cast<size_t>(provider->GetLastVisibleIndex() - provider->GetFirstVisibleIndex() + 1),
              ShownMeetings().size());
    Key(VK_LEFT);
    Click(::GetDlgItem(view->GetDateStrip().m_hWnd, CDateTimeCtrl::kIdPrevious));
    Pump();
    EXPECT_EQ(Resource(CDateTimeCtrl::kYesterdayString), LabelText(*view));
    EXPECT_GT(provider->GetMeetingCount(), 0);
    EXPECT_FALSE(ShownMeetings().empty());
    // Each new day asks the main frame for a refresh.
    EXPECT_EQ((std::vector<WPARAM>{40003, 40003, 40003}), frame.TakeCommands());
}
