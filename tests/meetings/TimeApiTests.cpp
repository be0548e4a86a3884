// Time helpers against the real platform. This executable runs in a second
// time zone too (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "TimeApi.h"

namespace {
DATE Make(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    SYSTEMTIME st{WORD(year), WORD(month), 0, WORD(day), WORD(hour), WORD(minute), WORD(second), 0};
    DATE value = 0.0;
    ::SystemTimeToVariantTime(&st, &value);
    return value;
}

SYSTEMTIME Fields(DATE value) {
    SYSTEMTIME st{};
    ::VariantTimeToSystemTime(value, &st);
    return st;
}

std::wstring RegistryText(const std::wstring& zoneKey, const wchar_t* value) {
    const std::wstring key = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\" + zoneKey;
    wchar_t text[128] = {};
    DWORD size = sizeof(text);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

// Which table entry a Joda identifier resolves to, seen through the names the
// platform's time-zone database gives that entry's key; the first match wins.
TEST(JodaLookup, FindsTheFirstEntryIgnoringCase) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"asia/baghdad", L"Arab Standard Time"},       // not Arabic (7) or Middle East (54)
        {L"EUROPE/ISTANBUL", L"Turkey Standard Time"},  // before GTB (39)
        {L"Atlantic/Reykjavik", L"Greenwich Standard Time"},  // before UTC (89)
        {L"Asia/Yakutsk", L"Yakutsk Standard Time"},          // the last entry
    };
    for (const auto& [joda, key] : cases) {
        TIME_ZONE_INFORMATION zone{};
        ASSERT_TRUE(CTimeApi::GetTimeZoneByJoderId(joda, &zone)) << joda;
        EXPECT_EQ(RegistryText(key, L"Std"), zone.StandardName) << joda;
        EXPECT_EQ(RegistryText(key, L"Dlt"), zone.DaylightName) << joda;
    }
}

TEST(JodaLookupNumbers, CarriesTheBiasesAndTransitionsOfTheKey) {
    TIME_ZONE_INFORMATION zone{};
    ASSERT_TRUE(CTimeApi::GetTimeZoneByJoderId(L"America/Los_Angeles", &zone));
    EXPECT_EQ(480, zone.Bias);
    EXPECT_EQ(-60, zone.DaylightBias);
    EXPECT_EQ(11, zone.StandardDate.wMonth);
    EXPECT_EQ(3, zone.DaylightDate.wMonth);
}

// A zone the platform cannot apply (daylight saving without a standard date)
// on either side: the time comes back as it was, not as an empty date.
TEST(ZoneConversion, AFailedConversionKeepsTheTime) {
    TIME_ZONE_INFORMATION broken{};
    broken.DaylightDate.wMonth = 3;
    broken.DaylightDate.wDay = 5;
    TIME_ZONE_INFORMATION tokyo{};
    ASSERT_TRUE(CTimeApi::GetTimeZoneByJoderId(L"Asia/Tokyo", &tokyo));
    const SYSTEMTIME local = Fields(Make(2024, 6, 12, 12, 0));
    const TIME_ZONE_INFORMATION* const pairs[][2] = {{&broken, &tokyo}, {nullptr, &broken}};
    for (const auto& pair : pairs) {
        SYSTEMTIME converted{};
        EXPECT_FALSE(CTimeApi::ConvertTimeBetweenZones(pair[0], &local, pair[1], &converted));
        EXPECT_EQ(0, std::memcmp(&local, &converted, sizeof(local))) << (pair[0] == &broken ? "source" : "target");
    }
}

TEST(CalendarArithmetic, SameDayAndSecondsBetween) {
    EXPECT_FALSE(CTimeApi::IsSameDay(Make(2024, 3, 14, 23, 59, 59), Make(2024, 3, 15)));
    EXPECT_TRUE(CTimeApi::IsSameDay(Make(2024, 3, 15), Make(2024, 3, 15, 23, 59, 59)));
    EXPECT_FALSE(CTimeApi::IsSameDay(Make(2023, 4, 15), Make(2024, 3, 15)));
    const DATE start = Make(2024, 6, 12, 9, 30), end = Make(2024, 6, 12, 11, 0);
    EXPECT_EQ(5400, CTimeApi::GetSecondsBetween(end, start));
    EXPECT_EQ(-5400, CTimeApi::GetSecondsBetween(start, end));
    EXPECT_EQ(3600, CTimeApi::GetSecondsBetween(Make(2024, 6, 13, 0, 30), Make(2024, 6, 12, 23, 30)));
    EXPECT_EQ(-1, CTimeApi::GetSecondsBetween(Make(2024, 12, 31, 23, 59, 59), Make(2025, 1, 1)));
}

TEST(Now, IsTheLocalClockInWholeSeconds) {
    SYSTEMTIME clock{};
    ::GetLocalTime(&clock);
    const DATE now = CTimeApi::GetLocalNow();
    EXPECT_LE(std::abs(now - Make(clock.wYear, clock.wMonth, clock.wDay, clock.wHour, clock.wMinute, clock.wSecond)) * 86400.0, 2.0);
    const double seconds = now * 86400.0;
    EXPECT_NEAR(seconds, static_cast<double>(static_cast<long long>(seconds + 0.5)), 1e-3);
}

}  // namespace
