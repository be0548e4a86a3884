#pragma once
// What a meeting item may offer the user for one meeting at one moment: who
// may start, join early or restart it, and the texts the item shows for it.
#include <windows.h>
#include <oleauto.h>

#include <functional>

#include "StringEx.h"
#include "MeetingRecord.h"

namespace ItemRules {
// Differences are in seconds, later minus earlier, at `now` (local time).
[[nodiscard]] bool IsHostRole(const CMeetingRecord& meeting) noexcept;
[[nodiscard]] bool CanStart(const CMeetingRecord& meeting, DATE now);
[[nodiscard]] bool CanJoinBeforeHost(const CMeetingRecord& meeting, DATE now);
[[nodiscard]] bool CanRestart(const CMeetingRecord& meeting, DATE now);
[[nodiscard]] bool IsPast(const CMeetingRecord& meeting, DATE now);

// "1 hour 30 mins" and the like: hours from the recorded duration, minutes
// from the scheduled span, so a meeting without a host still shows its span.
[[nodiscard]] CStringEx DurationText(const CMeetingRecord& meeting);
// Static controls take "&" as a mnemonic mark; a topic must show it as typed.
[[nodiscard]] CStringEx EscapeMnemonics(const CStringEx& text);
// "<caption> <host> | <duration>", the host name cut from its end (to one
// character at least, joined with "... | ") until `measure` says it fits `width`.
[[nodiscard]] CStringEx HostLine(const CStringEx& caption, const CStringEx& host, const CStringEx& duration,
                                 int width, const std::function<int(const wchar_t*)>& measure);
}  // namespace ItemRules
