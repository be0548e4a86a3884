#pragma once
// Duration texts from the resource library's strings.
#include <windows.h>

#include "StringEx.h"

namespace MeetingTexts {
inline constexpr UINT kOneHour = 61449;          // hours
inline constexpr UINT kMinute = 61450;           // minutes (0 or 1)
inline constexpr UINT kHours = 61481;            // hours
inline constexpr UINT kMinutes = 61482;          // minutes
inline constexpr UINT kHoursMinutes = 61663;     // hours, minutes text
inline constexpr UINT kOneHourMinutes = 61664;   // 1, minutes text
inline constexpr UINT kDetailTime = 61665;       // "%s1" date, "%s2" time, "%s3" duration

// "1 hour 5 mins" and the like; under an hour the minutes, zero included.
CStringEx DurationText(LONG seconds);
// Minutes alone; zero minutes give an empty text unless `showZero`.
CStringEx MinuteText(LONG minutes, bool showZero);
}  // namespace MeetingTexts
