#pragma once
// The built-in demo: a realistic working day around `now` (local time) with
// meetings in every state and role, plus a few on the days around it.
#include "webapi/MeetingSource.h"

namespace WebApi {
std::vector<MeetingEntry> MakeDemoMeetings(DATE now);
}  // namespace WebApi
