#pragma once
// One meeting of the shown day as the day view's item windows read it.
#include <windows.h>
#include <oleauto.h>

#include "StringEx.h"

namespace MeetingStatus {
enum : INT32 { None = 0, Upcoming = 1, InProgress = 2, Past = 3 };
}
namespace MeetingPrivilege {
enum : INT32 { Attendee = 0, Host = 1, AlternateHost = 2 };
}
namespace MeetingService {
enum : INT32 { Event = 0, Training = 1, Meeting = 2, Unknown = 3 };  // "RX", "RY", "RZ"
}
namespace ScheduleSource {
enum : INT32 { Other = 0, OI = 1, NI = 2 };
}

struct CMeetingRecord {
    CStringEx m_strTopic;
    CStringEx m_strType;
    CStringEx m_strKey;
    CStringEx m_strPassword;
    CStringEx m_strEntryId;
    CStringEx m_strHostName;
    CStringEx m_strPlaybackUrl;
    CStringEx m_strSiteUrl;
    CStringEx m_strConfKey;
    INT32 m_nIndex = 65535;
    DATE m_dtStart = 0.0;
    DATE m_dtEnd = 0.0;
    INT32 m_nDurationSeconds = 0;
    INT32 m_nJoinBeforeHostMinutes = 0;
    INT32 m_nStatus = MeetingStatus::Past;
    INT32 m_bValid = 0;
    INT32 m_bProminent = 0;
    INT32 m_bHasRecording = 0;
    INT32 m_nPrivilege = MeetingPrivilege::Attendee;
    INT32 m_bCrossSite = 0;
    BOOL m_bRecurring = FALSE;
    BOOL m_bException = FALSE;
    BOOL m_bPasswordRequired = FALSE;
    INT32 m_nServiceType = MeetingService::Unknown;
    INT32 m_nScheduleSource = ScheduleSource::Other;
    INT32 m_bRestartDisabled = 0;
    INT32 m_bAudioPending = 0;
};
