// The date strip's label and the days it moves between; the demo day of the
// web-API component as the screen shows it: a picture for people in the build
// folder, then the strips' and the date strip's buttons.
#include "DayViewFixture.h"

#include <commctrl.h>

#include "Clock.h"
#include "TimeApi.h"
#include "support/ScreenShot.h"
#include "webapi/WebApiLibrary.h"

using namespace dayviewtest;
using namespace webapitest;

namespace {
std::wstring Format(DATE day, DWORD flags, const wchar_t* picture, LCID locale = LOCALE_USER_DEFAULT) {
    SYSTEMTIME time{};
    ::VariantTimeToSystemTime(day, &time);
    wchar_t text[128] = {};
    ::GetDateFormatW(locale, flags, &time, picture, text, 128);
    return text;
}

std::wstring WeekdayAndDate(DATE day, LCID locale = LOCALE_USER_DEFAULT) {
    return Format(day, 0, L"dddd", locale) + L", " + Format(day, DATE_SHORTDATE, nullptr, locale);
}

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
}  // namespace

TEST_F(DayViewTest, LabelNamesTheDayRelativeToNowAcrossMidnight) {
    const DATE today = Today();
    const DATE lastSecond = At(today, 23, 59, 59);
    const DATE midnight = today + 1.0;
    struct Case {
        DATE day, now;
        std::wstring expected;
    };
    const Case cases[] = {
        {At(today, 23, 59, 59), At(today, 0, 0), testsupport::ResourceText(CDateTimeCtrl::kTodayString)},
        {today, midnight, testsupport::ResourceText(CDateTimeCtrl::kYesterdayString)},
        {today + 1.0, lastSecond, testsupport::ResourceText(CDateTimeCtrl::kTomorrowString)},
        {today + 2.0, lastSecond, WeekdayAndDate(today + 2.0)},
        {today - 1.0, midnight, WeekdayAndDate(today - 1.0)},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, CDateTimeCtrl::LabelFor(c.day, c.now).str()) << c.day << " " << c.now;

    // The weekday and date are the user's (a second run of this program
    // uses another user locale).
    const std::wstring label = CDateTimeCtrl::LabelFor(today + 3.0, today).str();
    EXPECT_EQ(WeekdayAndDate(today + 3.0, ::GetUserDefaultLCID()), label);
    if (PRIMARYLANGID(::GetUserDefaultLCID()) != LANG_ENGLISH) {
        EXPECT_NE(WeekdayAndDate(today + 3.0, MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)),
                  label);
    }
}

TEST_F(DayViewTest, LabelIsRewrittenOnlyWhenItsTextChanges) {
    Publish(HourlyMeetings(Today(), 2, 11));
    Show(Today());
    CDateTimeCtrl& strip = view->GetDateStrip();
    const HWND label = ::GetDlgItem(strip.m_hWnd, CDateTimeCtrl::kIdLabel);
    EXPECT_EQ(testsupport::ResourceText(CDateTimeCtrl::kTodayString), testsupport::WindowText(label));
    EXPECT_FALSE(strip.SetDate(At(Today(), 18, 0))) << "another time of the same day";

    // Midnight passes while the day is shown.
    SetNow(Today() + 1.0);
    EXPECT_TRUE(strip.SetDate(Today()));
    EXPECT_EQ(testsupport::ResourceText(CDateTimeCtrl::kYesterdayString), testsupport::WindowText(label));

    // The tooltip gives the long date of the shown day.
    NMTTDISPINFOW request{};
    request.hdr = {strip.GetToolTip(), reinterpret_cast<UINT_PTR>(label), TTN_GETDISPINFOW};
    ::SendMessageW(strip.m_hWnd, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    ASSERT_TRUE(request.lpszText);
    EXPECT_EQ(Format(Today(), DATE_LONGDATE, nullptr), std::wstring(request.lpszText));

}

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
    testsupport::PumpUntil([] { return false; }, 300);

    RECT screen{};
    ::GetWindowRect(view->m_hWnd, &screen);
    const auto shot = testsupport::CaptureScreen(screen);
    EXPECT_TRUE(testsupport::SavePng(*shot, ScreenshotPath())) << "no picture at " << ScreenshotPath().c_str();
    const DailyViewLayout& layout = view->GetLayout();
    EXPECT_TRUE(testsupport::Near(CDateTimeCtrl::kBackground, shot->At(40, 2)));
    EXPECT_TRUE(testsupport::Near(CVelScrollBar::kEdgeLine, shot->At(3, layout.upStrip.bottom - 1)));
    EXPECT_TRUE(testsupport::Near(CVelScrollBar::kEdgeLine, shot->At(3, layout.downStrip.top)));

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
    EXPECT_EQ(testsupport::ResourceText(CDateTimeCtrl::kYesterdayString),
              testsupport::WindowText(::GetDlgItem(view->GetDateStrip().m_hWnd, CDateTimeCtrl::kIdLabel)));
    EXPECT_FALSE(ShownMeetings().empty());
    // Each new day asks the main frame for a refresh.
    EXPECT_EQ((std::vector<WPARAM>{40003}), frame.TakeCommands());
}
