#include "MeetingTexts.h"

#include "ModuleState.h"

namespace MeetingTexts {
namespace {
CStringEx Resource(UINT id) {
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), id);
    return text;
}

CStringEx FormatNumber(UINT id, LONG number) {
    CStringEx text;
    text.Format(Resource(id).c_str(), static_cast<int>(number));
    return text;
}

CStringEx FormatNumberAndText(UINT id, LONG number, const CStringEx& part) {
    CStringEx text;
    text.Format(Resource(id).c_str(), static_cast<int>(number), part.c_str());
    return text;
}
}  // namespace

CStringEx MinuteText(LONG minutes, bool showZero) {
    if (minutes >= 2) return FormatNumber(kMinutes, minutes);
    if (minutes == 1) return FormatNumber(kMinute, 1);
    if (minutes == 0 && showZero) return FormatNumber(kMinute, 0);
    return {};
}

CStringEx DurationText(LONG seconds) {
    const LONG hours = seconds / 3600;
    const LONG minutes = seconds / 60 - 60 * hours;
    if (hours >= 2) {
        const CStringEx part = MinuteText(minutes, false);
        return part.IsEmpty() ? FormatNumber(kHours, hours) : FormatNumberAndText(kHoursMinutes, hours, part);
    }
    if (hours == 1) {
        const CStringEx part = MinuteText(minutes, false);
        return part.IsEmpty() ? FormatNumber(kOneHour, 1) : FormatNumberAndText(kOneHourMinutes, 1, part);
    }
    return MinuteText(minutes, true);
}
}  // namespace MeetingTexts
