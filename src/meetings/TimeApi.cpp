#include "TimeApi.h"

#include <wrl/client.h>

#include <ctime>
#include <cwchar>
#include <vector>

#include "Clock.h"
#include "ComHolders.h"
#include "Registry.h"
#include "Trace.h"
#include "MSDom.h"
#include "TimeZoneTable.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr const wchar_t* kTimeZonesKey = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
constexpr ULONGLONG kUnixEpochTicks = 116444736000000000ULL;
constexpr ULONGLONG kTicksPerSecond = 10000000ULL;

// The binary layout of a zone's "TZI" value.
struct RegistryTzi {
    LONG bias;
    LONG standardBias;
    LONG daylightBias;
    SYSTEMTIME standardDate;
    SYSTEMTIME daylightDate;
};
static_assert(sizeof(RegistryTzi) == 44);

time_t ToLocalSeconds(DATE value) {
    SYSTEMTIME st{};
    ::VariantTimeToSystemTime(value, &st);
    _tzset();
    std::tm fields{};
    fields.tm_year = st.wYear - 1900;
    fields.tm_mon = st.wMonth - 1;
    fields.tm_mday = st.wDay;
    fields.tm_hour = st.wHour;
    fields.tm_min = st.wMinute;
    fields.tm_sec = st.wSecond;
    fields.tm_isdst = _daylight;
    return std::mktime(&fields);
}

void CopyName(const CStringEx& name, WCHAR (&target)[32]) {
    std::wmemset(target, L'\0', 32);
    std::wcsncpy(target, name.c_str(), 31);
}

// Reads the names of a zone from its key in the time-zone database; a missing
// value gives an empty name.
void ReadZoneNames(const std::wstring& keyName, TIME_ZONE_INFORMATION* zone) {
    const std::wstring key = std::wstring(kTimeZonesKey) + L"\\" + keyName;
    CStringEx name;
    CRegistry::ReadStringEx(HKEY_LOCAL_MACHINE, key.c_str(), L"Std", &name);
    CopyName(name, zone->StandardName);
    CRegistry::ReadStringEx(HKEY_LOCAL_MACHINE, key.c_str(), L"Dlt", &name);
    CopyName(name, zone->DaylightName);
}

using FormatProbe = int (*)(const SYSTEMTIME* time, wchar_t* buffer, int length);

void FormatInto(const SYSTEMTIME* time, CStringEx& text, FormatProbe format, const char* failure) {
    if (!time) return;
    const int length = format(time, nullptr, 0);
    if (length < 1) {
        TraceText(2, failure);
        return;
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length));
    if (format(time, buffer.data(), length) < 1) {
        TraceText(2, failure);
        return;
    }
    text = buffer.data();
}

constexpr const char* kDateFailure = "CTimeApi::GetLocalDateString GetDateFormat ERROR";
constexpr const char* kTimeFailure = "CTimeApi::GetLocalTimeString GetTimeFormat ERROR";
}  // namespace

DATE CTimeApi::GetLocalNow() { return Clock::LocalNow(); }

BOOL CTimeApi::IsSameDay(DATE a, DATE b) {
    SYSTEMTIME first{}, second{};
    ::VariantTimeToSystemTime(a, &first);
    ::VariantTimeToSystemTime(b, &second);
    return first.wYear == second.wYear && first.wMonth == second.wMonth && first.wDay == second.wDay;
}

LONG CTimeApi::GetSecondsBetween(DATE a, DATE b) {
    const long long difference = static_cast<long long>(ToLocalSeconds(a)) - static_cast<long long>(ToLocalSeconds(b));
    return static_cast<LONG>(static_cast<unsigned long long>(difference) & 0xFFFFFFFFULL);
}

DATE CTimeApi::AddSeconds(DATE d, LONG seconds) {
    SYSTEMTIME st{};
    FILETIME ft{};
    if (!::VariantTimeToSystemTime(d, &st) || !::SystemTimeToFileTime(&st, &ft)) {
        TraceText(8, "CTimeApi::AddSeconds: the date has no file time");
        return d;
    }
    ULARGE_INTEGER ticks{};
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    // Signed and rounded down: before 1970 the ticks since the epoch are
    // negative, and unsigned arithmetic there lands a fraction of a second early.
    const long long sinceEpoch = static_cast<long long>(ticks.QuadPart) - static_cast<long long>(kUnixEpochTicks);
    const long long perSecond = static_cast<long long>(kTicksPerSecond);
    long long unixSeconds = sinceEpoch / perSecond;
    if (sinceEpoch % perSecond < 0) --unixSeconds;
    unixSeconds += seconds;
    ticks.QuadPart = static_cast<ULONGLONG>(unixSeconds * perSecond + static_cast<long long>(kUnixEpochTicks));
    ft.dwLowDateTime = ticks.LowPart;
    ft.dwHighDateTime = ticks.HighPart;
    DATE result = 0.0;
    if (!::FileTimeToSystemTime(&ft, &st) || !::SystemTimeToVariantTime(&st, &result)) {
        TraceText(8, "CTimeApi::AddSeconds: the sum is no date");
        return d;
    }
    return result;
}

BOOL CTimeApi::ConvertTimeBetweenZones(const TIME_ZONE_INFORMATION* source, const SYSTEMTIME* in,
                                       const TIME_ZONE_INFORMATION* target, SYSTEMTIME* out) {
    if (!in || !out) return FALSE;
    SYSTEMTIME universal{};
    SYSTEMTIME converted{};
    if (!::TzSpecificLocalTimeToSystemTime(source, in, &universal) ||
        !::SystemTimeToTzSpecificLocalTime(target, &universal, &converted)) {
        // A zone the platform cannot apply: the time stays as it was given
        // rather than becoming an empty date that no text can be made of.
        TraceText(8, "CTimeApi::ConvertTimeBetweenZones: the zone conversion failed");
        *out = *in;
        return FALSE;
    }
    *out = converted;
    return TRUE;
}

void CTimeApi::GetLocalDateString(const SYSTEMTIME* time, CStringEx& text) {
    FormatInto(
        time, text,
        [](const SYSTEMTIME* t, wchar_t* buffer, int length) {
            return ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, t, nullptr, buffer, length);
        },
        kDateFailure);
}

void CTimeApi::GetShortDateString(const SYSTEMTIME* time, CStringEx& text) {
    FormatInto(
        time, text,
        [](const SYSTEMTIME* t, wchar_t* buffer, int length) {
            return ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, t, nullptr, buffer, length);
        },
        kDateFailure);
}

void CTimeApi::GetWeekdayString(const SYSTEMTIME* time, CStringEx& text) {
    FormatInto(
        time, text,
        [](const SYSTEMTIME* t, wchar_t* buffer, int length) {
            return ::GetDateFormatW(LOCALE_USER_DEFAULT, 0, t, L"dddd", buffer, length);
        },
        kDateFailure);
}

void CTimeApi::GetLocalTimeString(const SYSTEMTIME* time, CStringEx& text) {
    FormatInto(
        time, text,
        [](const SYSTEMTIME* t, wchar_t* buffer, int length) {
            return ::GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, t, nullptr, buffer, length);
        },
        kTimeFailure);
}

BOOL CTimeApi::GetTimeZoneByJoderId(const CStringEx& joderId, TIME_ZONE_INFORMATION* zone) {
    CAutoFunTrace trace("CTimeApi::GetTimeZoneByJoderId");
    if (joderId.IsEmpty()) return FALSE;
    ComPtr<IUnknown> document;
    if (FAILED(CMSDom::MSDomCreate(document.GetAddressOf()))) return FALSE;
    Bstr table((TimeZoneTable::FirstHalf() + TimeZoneTable::SecondHalf()).str());
    ComPtr<IUnknown> root;
    if (!CMSDom::LoadFromString(document.Get(), table.get()) ||
        FAILED(CMSDom::GetRootNode(document.Get(), root.GetAddressOf())))
        return FALSE;
    ComPtr<IUnknown> entries;
    Bstr entryPath(L"timeZone");
    if (FAILED(CMSDom::GetNodeList(root.Get(), entryPath.get(), entries.GetAddressOf()))) return FALSE;

    Bstr joderPath(L"joderInfo");
    Bstr namePath(L"timeZoneName");
    const LONG count = CMSDom::GetNodeListCount(entries.Get());
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IUnknown> entry;
        if (FAILED(CMSDom::GetNodeFromList(entries.Get(), i, entry.GetAddressOf()))) continue;
        CStringEx joder;
        if (FAILED(CMSDom::GetChildNodeValue(entry.Get(), joderPath.get(), joder))) continue;
        if (joderId.CompareNoCase(joder.c_str()) != 0) continue;

        CStringEx keyName;
        if (FAILED(CMSDom::GetChildNodeValue(entry.Get(), namePath.get(), keyName))) return FALSE;
        if (!zone) return TRUE;
        ReadZoneNames(keyName.str(), zone);
        RegistryTzi tzi{};
        CRegistry::ReadBinary(HKEY_LOCAL_MACHINE, (std::wstring(kTimeZonesKey) + L"\\" + keyName.str()).c_str(), L"TZI",
                              reinterpret_cast<BYTE*>(&tzi), sizeof(tzi));
        zone->Bias = tzi.bias;
        zone->StandardBias = tzi.standardBias;
        zone->DaylightBias = tzi.daylightBias;
        zone->StandardDate = tzi.standardDate;
        zone->DaylightDate = tzi.daylightDate;
        return TRUE;
    }
    return FALSE;
}

void CTimeApi::GetLocalTimeZone(TIME_ZONE_INFORMATION* zone) {
    if (!zone) return;
    ::GetTimeZoneInformation(zone);
    // Older systems lack the dynamic form; their names are then the ones above.
    using DynamicZoneFn = DWORD(WINAPI*)(DYNAMIC_TIME_ZONE_INFORMATION*);
    HMODULE kernel = ::GetModuleHandleW(L"Kernel32.dll");
    auto dynamicZone =
        kernel ? reinterpret_cast<DynamicZoneFn>(::GetProcAddress(kernel, "GetDynamicTimeZoneInformation")) : nullptr;
    if (!dynamicZone) return;
    DYNAMIC_TIME_ZONE_INFORMATION dynamic{};
    dynamicZone(&dynamic);
    ReadZoneNames(dynamic.TimeZoneKeyName, zone);
}
