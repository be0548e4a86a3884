#pragma once
// Time helpers of the module. Every meeting time is an OLE automation date in
// the computer's local wall-clock time.
#include <windows.h>
#include <oleauto.h>

#include "StringEx.h"

class CTimeApi {
public:
    CTimeApi() = delete;

    // Local wall-clock time in whole seconds (Clock::LocalNow, which tests pin).
    static DATE GetLocalNow();

    static BOOL IsSameDay(DATE a, DATE b);
    // a minus b in seconds, as the C library's local time sees both.
    static LONG GetSecondsBetween(DATE a, DATE b);
    static DATE AddSeconds(DATE d, LONG seconds);
    // Null zones stand for the current one; null times do nothing. FALSE when
    // the platform cannot convert: `out` then gets the time unchanged.
    static BOOL ConvertTimeBetweenZones(const TIME_ZONE_INFORMATION* source, const SYSTEMTIME* in,
                                        const TIME_ZONE_INFORMATION* target, SYSTEMTIME* out);

    // Texts in the user's locale; a null time does nothing and a formatting
    // failure leaves the text as it was.
    static void GetLocalDateString(const SYSTEMTIME* time, CStringEx& text);
    static void GetShortDateString(const SYSTEMTIME* time, CStringEx& text);
    static void GetWeekdayString(const SYSTEMTIME* time, CStringEx& text);
    static void GetLocalTimeString(const SYSTEMTIME* time, CStringEx& text);

    // The platform's description of the zone a Joda identifier names (the
    // first entry of the embedded table, ignoring case); FALSE when unknown.
    static BOOL GetTimeZoneByJoderId(const CStringEx& joderId, TIME_ZONE_INFORMATION* zone);
    // The current zone, with its names as the time-zone database spells them.
    static void GetLocalTimeZone(TIME_ZONE_INFORMATION* zone);
};
