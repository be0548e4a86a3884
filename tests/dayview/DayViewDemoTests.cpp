// The demo day of the web-API component in the day view, as the screen shows
// it: a picture for people in the build folder, then the strips' and the date
// strip's buttons.
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

TEST_F(DayViewTest, DemoDayOnScreenScrollsByItsStripsAndGoesBackADay) {
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

    const INT32 first = provider->GetFirstVisibleIndex();
    // Strip clicks, one meeting each.
    Click(::GetDlgItem(down, CDailyView::kDownStripId));
    Settle();
    EXPECT_EQ(first + 1, provider->GetFirstVisibleIndex());
    Click(::GetDlgItem(up, CDailyView::kUpStripId));
    Settle();
    EXPECT_EQ(first, provider->GetFirstVisibleIndex());

    // Days: the date strip's button goes back one, with that day's meetings.
    Click(::GetDlgItem(view->GetDateStrip().m_hWnd, CDateTimeCtrl::kIdPrevious));
    Pump();
    EXPECT_EQ(testsupport::ResourceText(CDateTimeCtrl::kYesterdayString), LabelText(*view));
    EXPECT_FALSE(ShownMeetings().empty());
    // Each new day asks the main frame for a refresh.
    EXPECT_EQ((std::vector<WPARAM>{40003}), frame.TakeCommands());
}
