#pragma once
// The embedded table that maps the Joda zone identifiers of meetings to the
// platform's time-zone key names: root "allTimeZones", one "timeZone" element
// per entry with "timeZoneName" and "joderInfo". A lookup parses the two halves
// joined; the first opens the root, the second closes it.
#include "StringEx.h"

namespace TimeZoneTable {
const CStringEx& FirstHalf() noexcept;
const CStringEx& SecondHalf() noexcept;
}  // namespace TimeZoneTable
