// The date strip's label and the days it moves between.
#include "DayViewFixture.h"

#include <commctrl.h>

#include "TimeApi.h"

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
        {today, At(today, 10, 0), testsupport::ResourceText(CDateTimeCtrl::kTodayString)},
        {At(today, 23, 59, 59), At(today, 0, 0), testsupport::ResourceText(CDateTimeCtrl::kTodayString)},
        {today, midnight, testsupport::ResourceText(CDateTimeCtrl::kYesterdayString)},
        {today + 1.0, lastSecond, testsupport::ResourceText(CDateTimeCtrl::kTomorrowString)},
        {today + 2.0, lastSecond, WeekdayAndDate(today + 2.0)},
        {today + 2.0, midnight, testsupport::ResourceText(CDateTimeCtrl::kTomorrowString)},
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
    Publish(Hourly(Today(), 2, 11));
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

    EXPECT_TRUE(strip.SetDate(Today() - 3.0));
    EXPECT_EQ(WeekdayAndDate(Today() - 3.0), testsupport::WindowText(label));
}
