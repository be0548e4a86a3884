#pragma once
// The meetings library's side of the meeting component: a meeting that
// started in this session is added to the component's running meetings,
// which tells every connected sink of the process.
#include <string>

namespace MeetingLib {
// Adds a meeting with `key` unless one with that key is listed already.
// False when the component cannot be reached.
bool ReportRunning(const std::wstring& key);

// The running-meetings document with a meeting of `key` added.
std::wstring WithRunningMeeting(const std::wstring& meetingsXml, const std::wstring& key);
}  // namespace MeetingLib
