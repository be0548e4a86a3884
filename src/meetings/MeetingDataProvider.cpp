#include "MeetingDataProvider.h"

#include "MsxmlIds.h"

#include <cmath>
#include <cwchar>
#include <string>

#include "ComHolders.h"
#include "ModuleState.h"
#include "Trace.h"
#include "BubblePara.h"
#include "MSDom.h"
#include "MeetingFields.h"
#include "MeetingRecord.h"
#include "MeetingTexts.h"
#include "TimeApi.h"

using Microsoft::WRL::ComPtr;

namespace {
// Two start times within this many days are the same start.
constexpr double kSameStart = 1e-7;
constexpr LONG kProminenceLeadSeconds = 3600;

// Every text of the nodes that `path` selects, in document order.
template <typename Visit>
void ForEachText(IUnknown* meeting, const wchar_t* path, Visit visit) {
    ComPtr<IUnknown> list;
    if (FAILED(CMSDom::GetNodeList(meeting, Bstr(path).get(), list.GetAddressOf()))) return;
    const LONG count = CMSDom::GetNodeListCount(list.Get());
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IUnknown> node;
        if (FAILED(CMSDom::GetNodeFromList(list.Get(), i, node.GetAddressOf()))) continue;
        CStringEx value;
        CMSDom::GetNodeValue(node.Get(), value);
        visit(value);
    }
}

// Days since the start of the calendar, counted on the calendar date.
LONGLONG DayNumber(DATE value) {
    SYSTEMTIME st{};
    ::VariantTimeToSystemTime(value, &st);
    st.wHour = st.wMinute = st.wSecond = st.wMilliseconds = 0;
    FILETIME ft{};
    ::SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = ft.dwLowDateTime;
    ticks.HighPart = ft.dwHighDateTime;
    return static_cast<LONGLONG>(ticks.QuadPart / 864000000000ULL);
}

DATE AtTimeOfDay(DATE day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME st{};
    ::VariantTimeToSystemTime(day, &st);
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    st.wMilliseconds = 0;
    DATE value = 0.0;
    ::SystemTimeToVariantTime(&st, &value);
    return value;
}

bool IsNullOrEmpty(const wchar_t* text) { return !text || !*text; }

bool IsNotBefore(const CMeetingFields& meeting, DATE time, const wchar_t* field) {
    return CTimeApi::GetSecondsBetween(meeting.Date(field), time) >= 0;
}

// Not ended at `time`; only the end is read.
bool HasNotEnded(IUnknown* meeting, DATE time) {
    return IsNotBefore(CMeetingFields(meeting, {L"endTime"}), time, L"endTime");
}

// In progress, or not ended and starting within the hour.
BOOL IsProminentMeeting(const CMeetingFields& meeting, DATE time) {
    const CStringEx& status = meeting.Text(L"meetingStatus");
    if (status.CompareNoCase(L"inProgress") == 0) return TRUE;
    if (status.CompareNoCase(L"past") == 0) return FALSE;
    const LONG toStart = CTimeApi::GetSecondsBetween(meeting.Date(L"startTime"), time);
    const LONG toEnd = CTimeApi::GetSecondsBetween(meeting.Date(L"endTime"), time);
    if (toEnd < 0) return FALSE;
    return toStart < kProminenceLeadSeconds;
}

BOOL IsProminent(IUnknown* meeting, DATE time) {
    return IsProminentMeeting(CMeetingFields(meeting, {L"meetingStatus", L"startTime", L"endTime"}), time);
}

INT32 StatusOf(const CMeetingFields& meeting, DATE now) {
    const CStringEx& status = meeting.Text(L"meetingStatus");
    if (status.IsEmpty()) return MeetingStatus::None;
    if (status.CompareNoCase(L"upcoming") == 0)
        return IsNotBefore(meeting, now, L"endTime") ? MeetingStatus::Upcoming : MeetingStatus::Past;
    if (status.CompareNoCase(L"inProgress") == 0) return MeetingStatus::InProgress;
    if (status.CompareNoCase(L"past") == 0) return MeetingStatus::Past;
    return IsNotBefore(meeting, now, L"startTime") ? MeetingStatus::Upcoming : MeetingStatus::None;
}
}  // namespace

CMeetingDataProvider::CMeetingDataProvider(IFrameServices* frame)
    : m_frame(frame), m_dtCurrentDate(CTimeApi::GetLocalNow()), m_dtNow(m_dtCurrentDate) {}

CMeetingDataProvider::~CMeetingDataProvider() = default;

BOOL CMeetingDataProvider::GetMeetingList(IUnknown* document, Meetings* meetings) {
    meetings->clear();
    ComPtr<IUnknown> root;
    if (!document || FAILED(CMSDom::GetRootNode(document, root.GetAddressOf())) || !root) return FALSE;
    // The helper has no name operation; the element's own name decides.
    ComPtr<IXMLDOMNode> node;
    Bstr name;
    if (FAILED(root.As(&node)) || FAILED(node->get_nodeName(name.receive())) ||
        ::_wcsicmp(name.c_str(), L"meetings") != 0)
        return FALSE;
    // Every child counts, whatever its kind, as the list of children does.
    ForEachChildNode(node.Get(), [meetings](IXMLDOMNode* child) {
        meetings->emplace_back(child);
        return true;
    });
    return TRUE;
}

ComPtr<IUnknown> CMeetingDataProvider::MeetingAt(INT32 index) const {
    if (index < 0 || static_cast<size_t>(index) >= m_meetings.size()) return nullptr;
    return m_meetings[static_cast<size_t>(index)];
}

void CMeetingDataProvider::ComputeVisibleWindow(BOOL autoPosition) {
    if (!m_spDoc) {
        m_nFirst = m_nLast = -1;
        return;
    }
    const INT32 count = static_cast<INT32>(m_meetings.size());
    m_nCount = count;
    if (count < 1) {
        m_nFirst = m_nLast = -1;
        return;
    }
    m_dtNow = CTimeApi::GetLocalNow();

    int units = kWindowUnits;
    int tall = kTallMeetings;
    enum class Fit { More, Full, Over };
    auto charge = [&](INT32 index) {
        const ComPtr<IUnknown> meeting = MeetingAt(index);
        if (!meeting || !IsProminent(meeting.Get(), m_dtNow)) {
            units -= 1;
        } else if (tall > 0) {
            --tall;
            units -= 2;
        } else {
            units = 0;
        }
        return units < 0 ? Fit::Over : (units == 0 ? Fit::Full : Fit::More);
    };
    // Charges from `from` upward; the last that fits, or count when the list ran out.
    auto fillForward = [&](INT32 from) {
        for (INT32 i = from; i < count; ++i) {
            const Fit fit = charge(i);
            if (fit == Fit::Over) return i - 1;
            if (fit == Fit::Full) return i;
        }
        return count;
    };

    const LONGLONG dayOffset = DayNumber(m_dtCurrentDate) - DayNumber(m_dtNow);
    if (dayOffset < 0 && m_nFirst < 0) {
        // A past day ends with its last meetings in view.
        m_nLast = count - 1;
        m_nFirst = m_nLast;
        for (INT32 i = m_nLast; i >= 0; --i) {
            const Fit fit = charge(i);
            if (fit == Fit::Over) break;
            m_nFirst = i;
            if (fit == Fit::Full) break;
        }
        if (m_nFirst < 0) m_nFirst = 0;
        return;
    }

    const bool today = dayOffset == 0;
    if (!autoPosition || !today) {
        if (m_nFirst < 0) m_nFirst = 0;
        if (m_nFirst > count) m_nFirst = count - 1;
        m_nLast = fillForward(m_nFirst);
    } else {
        // Today: start at the first meeting that has not ended yet.
        m_nFirst = m_nLast = -1;
        INT32 first = 0;
        while (first < count) {
            const ComPtr<IUnknown> meeting = MeetingAt(first);
            if (meeting && HasNotEnded(meeting.Get(), m_dtNow)) break;
            ++first;
        }
        if (first < count) m_nFirst = first;
        m_nLast = fillForward(first);
    }
    if (m_nFirst >= 0 && m_nFirst < count && m_nLast >= count) m_nLast = count - 1;
    // Today with everything ended leaves first = last = count: nothing shows,
    // and scrolling up brings the last meeting back.
    if (m_nLast >= 0 && m_nFirst < 0) m_nFirst = today ? m_nLast : 0;
}

BOOL CMeetingDataProvider::SetCurrentDate(DATE day) {
    CAutoFunTrace trace("CMeetingDataProvider::SetCurrentDate");
    const BOOL changed = !CTimeApi::IsSameDay(day, m_dtCurrentDate);
    m_dtCurrentDate = day;
    m_bFollowNow = m_bIsToday = CTimeApi::IsSameDay(day, CTimeApi::GetLocalNow());
    LoadDay(TRUE);
    const HWND frameWindow = m_frame ? m_frame->FrameWindow() : nullptr;
    if (changed && frameWindow && ::IsWindow(frameWindow))
        ::PostMessageW(frameWindow, WM_COMMAND, MAKEWPARAM(kRefreshCommand, 0), 0);
    return changed;
}

BOOL CMeetingDataProvider::ScrollUp() {
    if (m_nCount < 1 || m_nFirst < 1) return FALSE;
    m_bFollowNow = FALSE;
    --m_nFirst;
    ComputeVisibleWindow(FALSE);
    return TRUE;
}

BOOL CMeetingDataProvider::ScrollDown() {
    if (m_nCount < 1 || m_nLast >= m_nCount - 1) return FALSE;
    m_bFollowNow = FALSE;
    ++m_nFirst;
    ComputeVisibleWindow(FALSE);
    return TRUE;
}

HRESULT CMeetingDataProvider::GetMeeting(UINT32 index, CMeetingRecord* record) {
    if (!record || m_nCount < 0 || index >= static_cast<UINT32>(m_nCount)) return E_INVALIDARG;
    if (!m_spDoc) return E_FAIL;
    const ComPtr<IUnknown> node = MeetingAt(static_cast<INT32>(index));
    if (!node) return S_OK;
    const CMeetingFields meeting(
        node.Get(), {L"meetingTopic", L"meetingType", L"meetingKey", L"meetingPassword", L"entryID",
                     L"host/displayName", L"accessURL/playback", L"confKey", L"startTime", L"endTime",
                     L"joinBeforeHostTime", L"isRecurrence", L"isExceptional", L"isPwdRequird", L"siteUrl",
                     L"hasRecording", L"isCrossSiteConf", L"serviceType", L"scheduleFrom", L"disableRestart",
                     L"meetingStatus", L"HasHost", L"meetingPrivilege", L"isAudioOnly", L"audioStatus"});

    record->m_strTopic = meeting.Text(L"meetingTopic");
    record->m_strType = meeting.Text(L"meetingType");
    record->m_strKey = meeting.Text(L"meetingKey");
    record->m_strPassword = meeting.Text(L"meetingPassword");
    record->m_strEntryId = meeting.Text(L"entryID");
    record->m_strHostName = meeting.Text(L"host/displayName");
    record->m_strPlaybackUrl = meeting.Text(L"accessURL/playback");
    record->m_strConfKey = meeting.Text(L"confKey");
    record->m_nIndex = static_cast<INT32>(index);
    record->m_dtStart = meeting.Date(L"startTime");
    record->m_dtEnd = meeting.Date(L"endTime");
    record->m_nJoinBeforeHostMinutes = meeting.Number(L"joinBeforeHostTime");
    record->m_bRecurring = meeting.Flag(L"isRecurrence");
    record->m_bException = meeting.Flag(L"isExceptional");
    record->m_bPasswordRequired = meeting.Flag(L"isPwdRequird");
    record->m_strSiteUrl = meeting.Text(L"siteUrl");
    record->m_bHasRecording = meeting.IsTrueText(L"hasRecording");
    record->m_bCrossSite = meeting.IsTrueText(L"isCrossSiteConf");

    const CStringEx& service = meeting.Text(L"serviceType");
    if (service.CompareNoCase(L"RX") == 0)
        record->m_nServiceType = MeetingService::Event;
    else if (service.CompareNoCase(L"RY") == 0)
        record->m_nServiceType = MeetingService::Training;
    else if (service.CompareNoCase(L"RZ") == 0)
        record->m_nServiceType = MeetingService::Meeting;

    const CStringEx& source = meeting.Text(L"scheduleFrom");
    record->m_nScheduleSource = source.Compare(L"OI") == 0   ? ScheduleSource::OI
                                : source.Compare(L"NI") == 0 ? ScheduleSource::NI
                                                             : ScheduleSource::Other;
    record->m_bRestartDisabled = meeting.IsTrueText(L"disableRestart");
    record->m_nStatus = StatusOf(meeting, m_dtNow);

    // A past meeting that never had its host never really took place.
    const BOOL hasHost = meeting.Flag(L"HasHost", TRUE);
    record->m_nDurationSeconds = (!hasHost && record->m_nStatus == MeetingStatus::Past)
                                     ? 0
                                     : CTimeApi::GetSecondsBetween(record->m_dtEnd, record->m_dtStart);
    record->m_bProminent = IsProminentMeeting(meeting, m_dtNow);

    const CStringEx& privilege = meeting.Text(L"meetingPrivilege");
    record->m_nPrivilege = privilege.Compare(L"host") == 0        ? MeetingPrivilege::Host
                           : privilege.Compare(L"alterhost") == 0 ? MeetingPrivilege::AlternateHost
                                                                  : MeetingPrivilege::Attendee;
    record->m_bAudioPending =
        meeting.Flag(L"isAudioOnly") && meeting.Text(L"audioStatus").Compare(L"inProgress") != 0;
    record->m_bValid = 1;
    return S_OK;
}

void CMeetingDataProvider::LoadDay(BOOL keep) {
    CAutoFunTrace trace("CMeetingDataProvider::LoadDay");
    auto fail = [this](const char* reason) {
        TraceText(8, reason);
        m_spDoc.Reset();
        m_meetings.clear();
        m_nFirst = m_nLast = -1;
        m_nCount = 0;
    };

    ComPtr<IQKWebApiSync> sync;
    LONG listType = 0;
    if (m_frame) {
        m_frame->GetSyncObject(sync.GetAddressOf(), FALSE);
        listType = m_frame->GetListType();
    }
    if (!sync) return fail("CMeetingDataProvider::LoadDay: no synchronisation object");

    const DATE rangeStart = AtTimeOfDay(m_dtCurrentDate, 0, 0, 0);
    const DATE rangeEnd = AtTimeOfDay(m_dtCurrentDate, 23, 59, 59);
    Bstr xml;
    if (FAILED(sync->QueryMeetings(listType, rangeStart, rangeEnd, xml.receive())) || xml.empty())
        return fail("CMeetingDataProvider::LoadDay: no meetings for the day");

    ComPtr<IUnknown> document;
    if (FAILED(CMSDom::CreateFromString(xml.get(), document.GetAddressOf())))
        return fail("CMeetingDataProvider::LoadDay: the meetings document does not parse");
    Meetings meetings;
    if (!GetMeetingList(document.Get(), &meetings))
        return fail("CMeetingDataProvider::LoadDay: not a meetings document");
    const LONG count = static_cast<LONG>(meetings.size());
    if (count < 1) return fail("CMeetingDataProvider::LoadDay: no meetings for the day");

    INT32 kept = -1;
    if (keep) {
        ComPtr<IUnknown> oldFirst;
        if (m_nCount > 0 && m_nFirst >= 0) oldFirst = MeetingAt(m_nFirst);
        if (oldFirst) {
            const CMeetingFields old(oldFirst.Get(), {L"meetingKey", L"entryID", L"startTime"});
            const CStringEx& oldKey = old.Text(L"meetingKey");
            const CStringEx& oldEntry = old.Text(L"entryID");
            const DATE oldStart = old.Date(L"startTime");
            if (CTimeApi::IsSameDay(oldStart, rangeStart)) {
                for (LONG i = 0; i < count; ++i) {
                    const ComPtr<IUnknown>& meeting = meetings[static_cast<size_t>(i)];
                    const CMeetingFields fields(meeting.Get(), {L"meetingKey", L"entryID", L"startTime"});
                    const CStringEx& key = fields.Text(L"meetingKey");
                    const CStringEx& entry = fields.Text(L"entryID");
                    if ((!key.IsEmpty() && key == oldKey) || (!entry.IsEmpty() && entry == oldEntry)) {
                        // A moved start puts the window back on the clock.
                        if (std::fabs(fields.Date(L"startTime") - oldStart) < kSameStart) kept = i;
                        break;
                    }
                }
            }
        }
    } else if (CTimeApi::IsSameDay(m_dtCurrentDate, CTimeApi::GetLocalNow())) {
        m_bFollowNow = TRUE;
    }

    m_spDoc = document;
    m_meetings = std::move(meetings);
    m_nCount = count;
    if (kept >= 0) {
        m_nFirst = kept;
        ComputeVisibleWindow(FALSE);
    } else {
        m_nFirst = m_nLast = -1;
        ComputeVisibleWindow(TRUE);
    }
}

void CMeetingDataProvider::ResetDay(const DATE* day) {
    const DATE shown = day ? *day : CTimeApi::GetLocalNow();
    m_dtCurrentDate = m_dtNow = shown;
    m_nCount = 0;
    m_nFirst = m_nLast = -1;
    m_bFollowNow = m_bIsToday = CTimeApi::IsSameDay(shown, CTimeApi::GetLocalNow());
}

LONG CMeetingDataProvider::WindowFingerprint() const {
    if (m_nFirst < 0 || m_nFirst > m_nLast || m_nLast >= m_nCount) return 0;
    LONG sum = 0;
    for (INT32 i = m_nFirst; i <= m_nLast; ++i) {
        const ComPtr<IUnknown> meeting = MeetingAt(i);
        sum += (meeting && IsProminent(meeting.Get(), m_dtNow)) ? 2 * i + 2 : i + 1;
    }
    return sum;
}

BOOL CMeetingDataProvider::CheckForChanges() {
    CAutoFunTrace trace("CMeetingDataProvider::CheckForChanges");
    if (!m_bIsToday) return FALSE;
    const INT32 first = m_nFirst, last = m_nLast;
    const LONG fingerprint = WindowFingerprint();
    if (m_bFollowNow && SetCurrentDate(CTimeApi::GetLocalNow())) return TRUE;
    ComputeVisibleWindow(m_bFollowNow);
    if (m_nFirst != first || m_nLast != last) return TRUE;
    return WindowFingerprint() != fingerprint;
}

INT32 CMeetingDataProvider::FindMeeting(const wchar_t* key, const wchar_t* confId, const wchar_t* entryId,
                                        BOOL backwards) {
    const wchar_t* wanted = nullptr;
    const wchar_t* path = nullptr;
    if (!IsNullOrEmpty(entryId)) {
        wanted = entryId;
        path = L"entryID";
    } else if (!IsNullOrEmpty(key)) {
        wanted = key;
        path = L"meetingKey";
    } else if (!IsNullOrEmpty(confId)) {
        wanted = confId;
        path = L"confId";
    } else {
        return -1;
    }
    if (!m_spDoc) return -1;
    const LONG count = static_cast<LONG>(m_meetings.size());
    for (LONG step = 0; step < count; ++step) {
        const LONG i = backwards ? count - 1 - step : step;
        const ComPtr<IUnknown>& meeting = m_meetings[static_cast<size_t>(i)];
        if (!meeting) continue;
        const CStringEx value = CMeetingFields(meeting.Get(), {path}).Text(path);
        if (!value.IsEmpty() && value.Compare(wanted) == 0) return i;
    }
    return -1;
}

INT32 CMeetingDataProvider::ShowMeeting(const wchar_t* key, const wchar_t* confId, const wchar_t* entryId) {
    CAutoFunTrace trace("CMeetingDataProvider::ShowMeeting");
    if ((!key && !confId && !entryId) || m_nCount < 1 || !m_spDoc) return -1;
    m_bFollowNow = FALSE;
    const INT32 index = FindMeeting(key, confId, entryId, TRUE);
    if (index < 0) return -1;
    const bool windowInvalid = m_nFirst < 0 || m_nLast < m_nFirst || m_nLast > m_nCount;
    if (windowInvalid || index < m_nFirst || index > m_nLast) {
        m_nFirst = index;
        ComputeVisibleWindow(FALSE);
    }
    return index;
}

BOOL CMeetingDataProvider::GetMeetingDetailUrl(const wchar_t* key, const wchar_t* confId, CStringEx& url) {
    const INT32 index = FindMeeting(key, confId, nullptr, TRUE);
    if (index < 0) return FALSE;
    const ComPtr<IUnknown> meeting = MeetingAt(index);
    if (!meeting) return FALSE;
    url = CMeetingFields(meeting.Get(), {L"accessURL/meetingDetail"}).Text(L"accessURL/meetingDetail");
    return !url.IsEmpty();
}

void CMeetingDataProvider::FillTimeText(const CMeetingFields& meeting, CBubblePara* para) const {
    const DATE start = meeting.Date(L"startTime");
    const DATE end = meeting.Date(L"endTime");
    const LONG duration = CTimeApi::GetSecondsBetween(end, start);

    // A recurring meeting scheduled in another zone is shown in that zone.
    TIME_ZONE_INFORMATION local{};
    ::GetTimeZoneInformation(&local);
    const CStringEx& zoneText = meeting.Text(L"recurrence/timeZone");
    const CStringEx& recurrence = meeting.Text(L"recurrence/description");
    const bool meetingZone = !zoneText.IsEmpty() && zoneText.CompareNoCase(local.StandardName) != 0 &&
                             zoneText.CompareNoCase(local.DaylightName) != 0 && !recurrence.IsEmpty();
    para->m_strRecurrence = recurrence;
    if (meetingZone) {
        CStringEx suffix;
        suffix.Format(L" (%s)", zoneText.c_str());
        para->m_strRecurrence += suffix;
    }

    SYSTEMTIME shown{};
    if (!::VariantTimeToSystemTime(start, &shown)) {
        // No date and time beats a made-up one for a start that is no date.
        TraceText(8, "CMeetingDataProvider::GetMeetingDetailInfo: the start time is no date");
        para->m_strTime.Empty();
        return;
    }
    if (meetingZone) {
        TIME_ZONE_INFORMATION zone{};
        if (!CTimeApi::GetTimeZoneByJoderId(meeting.Text(L"recurrence/jodaTimeZone"), &zone)) {
            TraceText(8,
                      "CMeetingDataProvider::GetMeetingDetailInfo: Can't get correct time zone by joder id, use local "
                      "time zone!\n");
            CTimeApi::GetLocalTimeZone(&zone);
        }
        SYSTEMTIME converted{};
        // Failing (traced), the local time is shown rather than no date and time.
        CTimeApi::ConvertTimeBetweenZones(nullptr, &shown, &zone, &converted);
        shown = converted;
    }

    CStringEx date, time;
    CTimeApi::GetLocalDateString(&shown, date);
    CTimeApi::GetLocalTimeString(&shown, time);
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), MeetingTexts::kDetailTime);
    text.Replace(L"%s1", date.c_str());
    text.Replace(L"%s2", time.c_str());
    text.Replace(L"%s3", MeetingTexts::DurationText(duration).c_str());
    para->m_strTime = text;
}

BOOL CMeetingDataProvider::GetMeetingDetailInfo(INT32 index, CBubblePara* para) {
    CAutoFunTrace trace("CMeetingDataProvider::GetMeetingDetailInfo");
    if (!para || index < 0 || index >= m_nCount || !m_spDoc) return FALSE;
    const ComPtr<IUnknown> node = MeetingAt(index);
    if (!node) return FALSE;
    const CMeetingFields meeting(
        node.Get(), {L"meetingTopic", L"startTime", L"endTime", L"recurrence/timeZone", L"recurrence/description",
                     L"recurrence/jodaTimeZone", L"host/displayName", L"agenda", L"meetingKey", L"entryID",
                     L"scheduleFrom", L"serviceType", L"isExceptional", L"isRecurrence", L"hasRecording"});

    para->m_strTopic = meeting.Text(L"meetingTopic");
    FillTimeText(meeting, para);
    para->m_strHostName = meeting.Text(L"host/displayName");
    CStringEx invitees;
    bool firstName = true;
    ForEachText(node.Get(), L"invitees/invitee/displayName", [&](const CStringEx& name) {
        if (!firstName) invitees += L";";
        invitees += name;
        firstName = false;
    });
    para->m_strInvitees = invitees;
    para->m_strAgenda = meeting.Text(L"agenda");
    para->m_files.clear();
    ForEachText(node.Get(), L"files/file", [&](const CStringEx& file) { para->m_files.push_back(file); });
    para->m_bValid = 1;
    para->m_strKey = meeting.Text(L"meetingKey");
    para->m_strEntryId = meeting.Text(L"entryID");
    para->m_bNotFromOI = meeting.Text(L"scheduleFrom").Compare(L"OI") == 0 ? 0 : 1;
    const CStringEx& service = meeting.Text(L"serviceType");
    if (service.CompareNoCase(L"RX") == 0) para->m_bServiceRX = 1;
    if (service.CompareNoCase(L"RY") == 0) para->m_bServiceRY = 1;
    para->m_bException = meeting.Flag(L"isExceptional");
    para->m_bRecurring = meeting.Flag(L"isRecurrence");
    para->m_bHasRecording = meeting.IsTrueText(L"hasRecording") ? 1 : 0;
    para->m_dtStart = meeting.Date(L"startTime");
    return TRUE;
}
