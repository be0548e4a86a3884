#pragma once
// How the day view reads and scrolls the shown day.
#include <windows.h>
#include <oleauto.h>

struct CMeetingRecord;

class IDailyMeetingSink {
public:
    virtual DATE GetCurrentDate() = 0;
    // TRUE when the new day is another calendar day than the shown one.
    virtual BOOL SetCurrentDate(DATE day) = 0;
    virtual INT32 GetMeetingCount() = 0;
    // -1 when nothing is visible.
    virtual INT32 GetFirstVisibleIndex() = 0;
    virtual INT32 GetLastVisibleIndex() = 0;
    virtual BOOL ScrollUp() = 0;
    virtual BOOL ScrollDown() = 0;
    virtual HRESULT GetMeeting(UINT32 index, CMeetingRecord* record) = 0;
    virtual ~IDailyMeetingSink() = default;
};
