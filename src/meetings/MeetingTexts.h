#pragma once
// Duration texts from the resource library's strings.
#include <windows.h>

#include "StringEx.h"
#include "ResourceIds.h"

namespace MeetingTexts {
inline constexpr UINT kOneHour = IDS_DURATION_ONE_HOUR;       // hours
inline constexpr UINT kMinute = IDS_DURATION_MINUTE;       // minutes (0 or 1)
inline constexpr UINT kHours = IDS_DURATION_HOURS;       // hours
inline constexpr UINT kMinutes = IDS_DURATION_MINUTES;       // minutes
inline constexpr UINT kHoursMinutes = IDS_DURATION_HOURS_MINUTES;     // hours, minutes text
inline constexpr UINT kOneHourMinutes = IDS_DURATION_ONE_HOUR_MINUTES;   // 1, minutes text
inline constexpr UINT kDetailTime = IDS_DETAIL_TIME;       // "%s1" date, "%s2" time, "%s3" duration

// "1 hour 5 mins" and the like; under an hour the minutes, zero included.
CStringEx DurationText(LONG seconds);
// Minutes alone; zero minutes give an empty text unless `showZero`.
CStringEx MinuteText(LONG minutes, bool showZero);
}  // namespace MeetingTexts
