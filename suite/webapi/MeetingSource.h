#pragma once
// The meetings the synchronisation object answers from: a store file (a
// meetings document in the answer's own format) or the built-in demo day.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace WebApi {
// One meeting: its start, for range filtering and ordering, and its element
// markup as it goes into the answer.
struct MeetingEntry {
    DATE start = 0.0;
    std::wstring markup;
};

// Reads every meeting element of the store file's root ("meetings", in any
// case). A file that is missing or not a meetings document gives no meetings.
std::vector<MeetingEntry> ReadStore(const std::wstring& path);

// The meetings document for [from, to]: the meetings that start in the range,
// ordered by start (ties keep store order), with nothing between the elements.
// Empty text when none starts in the range.
std::wstring BuildMeetingsDocument(const std::vector<MeetingEntry>& meetings, DATE from, DATE to);

// Markup helper for building meeting elements, beside EscapeXml (shared/XmlText.h).
std::wstring FormatDate(DATE value);
}  // namespace WebApi
