// Time helpers against the real platform. This executable runs once per time
// zone (see CMakeLists.txt); the cases that depend on the zone look it up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "Clock.h"
#include "UniqueHandle.h"
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

// The zone this run was started in, with what the platform must make of it.
struct ZoneOfRun {
    const char* tz;
    LONG bias;              // minutes, as the platform reports it
    int juneOffsetMinutes;  // local time minus universal time in June
};
constexpr ZoneOfRun kZones[] = {
    {"UTC", 0, 0},
    {"Europe/Berlin", -60, 120},
    {"America/New_York", 300, -240},
    {"Asia/Kolkata", -330, 330},
};

const ZoneOfRun* CurrentZone() {
    const char* tz = std::getenv("TZ");
    for (const auto& zone : kZones)
        if (tz && std::strcmp(tz, zone.tz) == 0) return &zone;
    return nullptr;
}

// Which table entry a Joda identifier resolves to, seen through the names the
// platform's time-zone database gives that entry's key.
struct LookupCase {
    const wchar_t* joda;
    const wchar_t* expectedKey;
};
class JodaLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(JodaLookup, FindsTheFirstEntryIgnoringCase) {
    const LookupCase& c = GetParam();
    TIME_ZONE_INFORMATION zone;
    std::memset(&zone, 0x5A, sizeof(zone));
    ASSERT_TRUE(CTimeApi::GetTimeZoneByJoderId(c.joda, &zone)) << c.joda;
    const std::wstring standard = RegistryText(c.expectedKey, L"Std");
    if (standard == L"<missing>") {
        // The platform lacks this key: empty names and a zero numeric block.
        EXPECT_STREQ(L"", zone.StandardName);
        EXPECT_STREQ(L"", zone.DaylightName);
        EXPECT_EQ(0, zone.Bias);
        EXPECT_EQ(0, zone.DaylightBias);
        EXPECT_EQ(0, zone.StandardDate.wMonth);
        return;
    }
    EXPECT_EQ(standard, zone.StandardName) << c.joda;
    EXPECT_EQ(RegistryText(c.expectedKey, L"Dlt"), zone.DaylightName) << c.joda;
}

INSTANTIATE_TEST_SUITE_P(
    Table, JodaLookup,
    ::testing::Values(LookupCase{L"asia/baghdad", L"Arab Standard Time"},  // not Arabic (7) or Middle East (54)
                      LookupCase{L"Etc/GMT-12", L"Dateline Standard Time"},
                      LookupCase{L"America/Indianapolis", L"US Eastern Standard Time"},
                      LookupCase{L"EUROPE/ISTANBUL", L"Turkey Standard Time"},   // before GTB (39)
                      LookupCase{L"Pacific/Fiji", L"Fiji Standard Time"},        // before Kamchatka (48)
                      LookupCase{L"Atlantic/Reykjavik", L"Greenwich Standard Time"},  // before UTC (89)
                      LookupCase{L"America/Chihuahua", L"Mexico Standard Time 2"},    // first of the second half
                      LookupCase{L"Asia/Yakutsk", L"Yakutsk Standard Time"}));        // the last entry

TEST(JodaLookupNumbers, CarriesTheBiasesAndTransitionsOfTheKey) {
    TIME_ZONE_INFORMATION zone{};
    ASSERT_TRUE(CTimeApi::GetTimeZoneByJoderId(L"Asia/Tokyo", &zone));
    EXPECT_EQ(-540, zone.Bias);
    EXPECT_EQ(0, zone.StandardDate.wMonth) << "no daylight saving in Tokyo";
    ASSERT_TRUE(CTimeApi::GetTimeZoneByJoderId(L"America/Los_Angeles", &zone));
    EXPECT_EQ(480, zone.Bias);
    EXPECT_EQ(-60, zone.DaylightBias);
    EXPECT_EQ(11, zone.StandardDate.wMonth);
    EXPECT_EQ(3, zone.DaylightDate.wMonth);
}

TEST(JodaLookupMisses, LeaveTheDescriptionUntouched) {
    TIME_ZONE_INFORMATION zone;
    std::memset(&zone, 0x5A, sizeof(zone));
    TIME_ZONE_INFORMATION untouched = zone;
    EXPECT_FALSE(CTimeApi::GetTimeZoneByJoderId(L"Europe/Dublin", &zone));
    EXPECT_FALSE(CTimeApi::GetTimeZoneByJoderId(L"", &zone));
    EXPECT_FALSE(CTimeApi::GetTimeZoneByJoderId(L"Asia/Baghdad ", &zone)) << "no trimming";
    EXPECT_EQ(0, std::memcmp(&zone, &untouched, sizeof(zone)));
}

TEST(ZoneConversion, GoesThroughUniversalTime) {
    const ZoneOfRun* run = CurrentZone();
    if (!run) GTEST_SKIP() << "no expectations for this TZ";
    TIME_ZONE_INFORMATION tokyo{};
    ASSERT_TRUE(CTimeApi::GetTimeZoneByJoderId(L"Asia/Tokyo", &tokyo));
    const SYSTEMTIME local = Fields(Make(2024, 6, 12, 12, 0));
    SYSTEMTIME converted{};
    EXPECT_TRUE(CTimeApi::ConvertTimeBetweenZones(nullptr, &local, &tokyo, &converted));
    const DATE expected = Make(2024, 6, 12, 12, 0) + (9 * 60 - run->juneOffsetMinutes) / 1440.0;
    const SYSTEMTIME want = Fields(expected);
    EXPECT_EQ(want.wDay, converted.wDay);
    EXPECT_EQ(want.wHour, converted.wHour);
    EXPECT_EQ(want.wMinute, converted.wMinute);

    SYSTEMTIME untouched{1999, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(CTimeApi::ConvertTimeBetweenZones(nullptr, nullptr, &tokyo, &untouched));
    EXPECT_EQ(1999, untouched.wYear);
    EXPECT_FALSE(CTimeApi::ConvertTimeBetweenZones(nullptr, &local, &tokyo, nullptr));
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
    EXPECT_FALSE(CTimeApi::IsSameDay(Make(2024, 3, 15), Make(2024, 4, 15)));
    EXPECT_FALSE(CTimeApi::IsSameDay(Make(2023, 3, 15), Make(2024, 3, 15)));
    const DATE start = Make(2024, 6, 12, 9, 30), end = Make(2024, 6, 12, 11, 0);
    EXPECT_EQ(5400, CTimeApi::GetSecondsBetween(end, start));
    EXPECT_EQ(-5400, CTimeApi::GetSecondsBetween(start, end));
    EXPECT_EQ(3600, CTimeApi::GetSecondsBetween(Make(2024, 6, 13, 0, 30), Make(2024, 6, 12, 23, 30)));
    EXPECT_EQ(0, CTimeApi::GetSecondsBetween(start, start));
    EXPECT_EQ(-1, CTimeApi::GetSecondsBetween(Make(2024, 12, 31, 23, 59, 59), Make(2025, 1, 1)));
}

TEST(CalendarArithmetic, AddSecondsCrossesMidnightAndMonths) {
    struct Case {
        DATE from;
        LONG seconds;
        DATE expected;
    } cases[] = {
        {Make(2024, 6, 12, 23, 30), 3600, Make(2024, 6, 13, 0, 30)},
        {Make(2024, 6, 13, 0, 30), -3600, Make(2024, 6, 12, 23, 30)},
        {Make(2024, 2, 28, 12, 0), 86400, Make(2024, 2, 29, 12, 0)},
        {Make(2024, 12, 31, 23, 59, 59), 1, Make(2025, 1, 1)},
        {Make(2024, 6, 12, 10, 0), 0, Make(2024, 6, 12, 10, 0)},
        // Before 1970 the seconds since the epoch are negative.
        {Make(1969, 12, 31, 23, 59, 0), 30, Make(1969, 12, 31, 23, 59, 30)},
        {Make(1969, 12, 31, 23, 59, 59), 1, Make(1970, 1, 1)},
        {Make(1970, 1, 1), -1, Make(1969, 12, 31, 23, 59, 59)},
        {Make(1900, 3, 1, 8, 0), 3600, Make(1900, 3, 1, 9, 0)},
    };
    for (const auto& c : cases) {
        const SYSTEMTIME got = Fields(CTimeApi::AddSeconds(c.from, c.seconds)), want = Fields(c.expected);
        EXPECT_EQ(0, std::memcmp(&got, &want, sizeof(got))) << c.seconds;
    }
}

TEST(Now, IsTheLocalClockInWholeSecondsUnlessPinned) {
    SYSTEMTIME clock{};
    ::GetLocalTime(&clock);
    const DATE now = CTimeApi::GetLocalNow();
    EXPECT_LE(std::abs(now - Make(clock.wYear, clock.wMonth, clock.wDay, clock.wHour, clock.wMinute, clock.wSecond)) * 86400.0, 2.0);
    const double seconds = now * 86400.0;
    EXPECT_NEAR(seconds, static_cast<double>(static_cast<long long>(seconds + 0.5)), 1e-3);
    const DATE pinned = Make(2030, 1, 2, 3, 4, 5);
    Clock::PinLocalNow(&pinned);
    EXPECT_EQ(pinned, CTimeApi::GetLocalNow());
    Clock::PinLocalNow(nullptr);
}

// The long date and the time are those of the detail bubble (tests of the data
// provider); here the date strip's forms.
TEST(LocaleTexts, FollowTheUserLocale) {
    if (::GetUserDefaultLCID() != 0x409) GTEST_SKIP() << "expectations are for en-US";
    const SYSTEMTIME time = Fields(Make(2024, 6, 12, 13, 5, 42));
    CStringEx text;
    CTimeApi::GetShortDateString(&time, text);
    EXPECT_STREQ(L"6/12/2024", text.c_str());
    CTimeApi::GetWeekdayString(&time, text);
    EXPECT_STREQ(L"Wednesday", text.c_str());
    // Failures leave the text alone.
    const SYSTEMTIME invalid{2024, 13, 0, 40, 30, 0, 0, 0};
    CTimeApi::GetLocalDateString(&invalid, text);
    CTimeApi::GetWeekdayString(&invalid, text);
    CTimeApi::GetLocalTimeString(nullptr, text);
    EXPECT_STREQ(L"Wednesday", text.c_str());
}
}  // namespace
