#include "ItemRules.h"

#include "ModuleState.h"
#include "MeetingTexts.h"
#include "TimeApi.h"

namespace ItemRules {
namespace {
// An alternate host may open the meeting this long before its start.
constexpr LONG kAlternateHostLeadSeconds = 900;

CStringEx Format(UINT id, int number, const wchar_t* part = nullptr) {
    CStringEx format;
    format.LoadString(ModuleState::ResourceInstance(), id);
    CStringEx text;
    if (part)
        text.Format(format.c_str(), number, part);
    else
        text.Format(format.c_str(), number);
    return text;
}
}  // namespace

bool IsHostRole(const CMeetingRecord& meeting) noexcept {
    return meeting.m_nPrivilege == MeetingPrivilege::Host || meeting.m_nPrivilege == MeetingPrivilege::AlternateHost;
}

bool CanStart(const CMeetingRecord& meeting, DATE now) {
    if (meeting.m_bAudioPending) return false;
    if (meeting.m_nPrivilege != MeetingPrivilege::Host && meeting.m_nPrivilege != MeetingPrivilege::AlternateHost)
        return false;
    if (meeting.m_nStatus == MeetingStatus::InProgress) return true;
    if (meeting.m_nStatus != MeetingStatus::Upcoming) return false;
    if (CTimeApi::GetSecondsBetween(meeting.m_dtEnd, now) < 0) return false;
    if (meeting.m_nPrivilege == MeetingPrivilege::Host) return CTimeApi::IsSameDay(meeting.m_dtStart, now) != FALSE;
    return CTimeApi::GetSecondsBetween(meeting.m_dtStart, now) < kAlternateHostLeadSeconds;
}

bool CanJoinBeforeHost(const CMeetingRecord& meeting, DATE now) {
    return meeting.m_nJoinBeforeHostMinutes >= 1 &&
           CTimeApi::GetSecondsBetween(meeting.m_dtStart, now) <= meeting.m_nJoinBeforeHostMinutes * 60;
}

bool CanRestart(const CMeetingRecord& meeting, DATE now) {
    return !meeting.m_bAudioPending && !meeting.m_bRestartDisabled && meeting.m_nStatus == MeetingStatus::Past &&
           CTimeApi::GetSecondsBetween(meeting.m_dtEnd, now) > 0;
}

bool IsPast(const CMeetingRecord& meeting, DATE now) {
    if (meeting.m_nStatus == MeetingStatus::Past) return true;
    return CTimeApi::GetSecondsBetween(meeting.m_dtEnd, now) < 0 && meeting.m_nStatus != MeetingStatus::InProgress;
}

CStringEx DurationText(const CMeetingRecord& meeting) {
    const int hours = meeting.m_nDurationSeconds / 3600;
    const int minutes = CTimeApi::GetSecondsBetween(meeting.m_dtEnd, meeting.m_dtStart) / 60 - 60 * hours;
    CStringEx minuteText;
    if (minutes > 1)
        minuteText = Format(MeetingTexts::kMinutes, minutes);
    else if (minutes == 1)
        minuteText = Format(MeetingTexts::kMinute, minutes);
    if (hours >= 2)
        return minuteText.IsEmpty() ? Format(MeetingTexts::kHours, hours)
                                    : Format(MeetingTexts::kHoursMinutes, hours, minuteText.c_str());
    if (hours == 1)
        return minuteText.IsEmpty() ? Format(MeetingTexts::kOneHour, hours)
                                    : Format(MeetingTexts::kOneHourMinutes, hours, minuteText.c_str());
    return minuteText.IsEmpty() ? Format(MeetingTexts::kMinute, minutes) : minuteText;
}

CStringEx EscapeMnemonics(const CStringEx& text) {
    CStringEx escaped(text);
    escaped.Replace(L"&", L"&&");
    return escaped;
}

CStringEx HostLine(const CStringEx& caption, const CStringEx& host, const CStringEx& duration, int width,
                   const std::function<int(const wchar_t*)>& measure) {
    const CStringEx lead = caption + CStringEx(L" ");
    CStringEx line = lead + host + CStringEx(L" | ") + duration;
    for (int keep = host.GetLength() - 1; keep >= 1 && measure(line.c_str()) > width; --keep)
        line = lead + host.Left(keep) + CStringEx(L"... | ") + duration;
    return line;
}
}  // namespace ItemRules
