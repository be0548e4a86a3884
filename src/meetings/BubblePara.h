#pragma once
// The particulars of one meeting that the detail bubble shows. The bubble
// keeps its own copy.
#include <windows.h>
#include <oleauto.h>

#include <vector>

#include "StringEx.h"

class CBubblePara {
public:
    virtual ~CBubblePara() = default;

    CStringEx m_strTopic;
    CStringEx m_strTime;
    CStringEx m_strHostName;
    CStringEx m_strRecurrence;
    CStringEx m_strInvitees;  // names joined with ";"
    CStringEx m_strAgenda;
    std::vector<CStringEx> m_files;
    INT32 m_bValid = 0;
    CStringEx m_strKey;
    CStringEx m_strEntryId;
    INT32 m_bNotFromOI = 0;
    INT32 m_bServiceRX = 0;
    INT32 m_bServiceRY = 0;
    INT32 m_bException = 0;
    INT32 m_bRecurring = 0;
    INT32 m_bHasRecording = 0;
    DATE m_dtStart = 0.0;
};
