#include "meetinglib/MeetingOperations.h"

#include "meetinglib/CallLog.h"
#include "meetinglib/MeetingLibSettings.h"
#include "meetinglib/RunningMeetings.h"

namespace MeetingLib {
namespace {
// The key of a started instant meeting, as its result document names it.
std::wstring KeyOf(const std::wstring& resultXml) {
    static constexpr std::wstring_view kOpen = L"<meetingKey>";
    const size_t start = resultXml.find(kOpen);
    if (start == std::wstring::npos) return {};
    const size_t end = resultXml.find(L"</meetingKey>", start);
    if (end == std::wstring::npos) return {};
    return resultXml.substr(start + kOpen.size(), end - start - kOpen.size());
}
}  // namespace

HRESULT STDMETHODCALLTYPE CMeetingOperations::StartInstantMeeting(HWND owner, LONG callerCode, BSTR phoneNumber,
                                                                  LONG reserved) {
    try {
        CCallLine(L"StartInstantMeeting")
            .Window(L"owner", owner)
            .Number(L"caller", callerCode)
            .Text(L"phone", phoneNumber)
            .Number(L"reserved", reserved)
            .Write();
        m_lastAction = Action::InstantMeeting;
        m_lastKey.clear();
        return MeetingLibSettings::ActionResult();
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingOperations::JoinMeeting(HWND owner, BSTR meetingKey, BSTR password, BSTR siteUrl,
                                                          LONG value, BSTR meetingKey2, LONG callerCode,
                                                          BSTR phoneNumber, BSTR attendeeId) {
    try {
        CCallLine(L"JoinMeeting")
            .Window(L"owner", owner)
            .Text(L"key", meetingKey)
            .Text(L"password", password)
            .Text(L"site", siteUrl)
            .Number(L"value", value)
            .Text(L"key2", meetingKey2)
            .Number(L"caller", callerCode)
            .Text(L"phone", phoneNumber)
            .Text(L"attendee", attendeeId)
            .Write();
        m_lastAction = Action::Join;
        m_lastKey = meetingKey ? meetingKey : L"";
        return MeetingLibSettings::ActionResult();
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingOperations::StartScheduledMeeting(HWND owner, BSTR meetingKey, BSTR topic,
                                                                    LONG value, BSTR meetingKey2, LONG callerCode,
                                                                    BSTR phoneNumber, BSTR attendeeId) {
    try {
        CCallLine(L"StartScheduledMeeting")
            .Window(L"owner", owner)
            .Text(L"key", meetingKey)
            .Text(L"topic", topic)
            .Number(L"value", value)
            .Text(L"key2", meetingKey2)
            .Number(L"caller", callerCode)
            .Text(L"phone", phoneNumber)
            .Text(L"attendee", attendeeId)
            .Write();
        m_lastAction = Action::Start;
        m_lastKey = meetingKey ? meetingKey : L"";
        return MeetingLibSettings::ActionResult();
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingOperations::StartPersonalConference(HWND owner) {
    try {
        CCallLine(L"StartPersonalConference").Window(L"owner", owner).Write();
        m_lastAction = Action::PersonalConference;
        m_lastKey.clear();
        return MeetingLibSettings::ActionResult();
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingOperations::GetResult(LONG* resultCode, BSTR* resultXml, LONG flag) {
    if (resultXml) *resultXml = nullptr;
    if (!resultCode) return E_POINTER;
    if (MeetingLibSettings::FailsEveryCall()) return E_FAIL;
    try {
        const LONG code = MeetingLibSettings::ResultCode();
        std::wstring xml;
        bool haveXml = false;
        if (auto configured = MeetingLibSettings::ResultXml()) {
            xml = std::move(*configured);
            haveXml = true;
        } else if (m_lastAction == Action::InstantMeeting && code == MeetingLibSettings::kDefaultResultCode) {
            xml = L"<Result><meetingKey>" + MeetingLibSettings::InstantMeetingKey() + L"</meetingKey></Result>";
            haveXml = true;
        }
        CCallLine line(L"GetResult");
        line.Number(L"flag", flag).Number(L"code", code);
        if (resultXml && haveXml) {
            *resultXml = ::SysAllocStringLen(xml.data(), static_cast<UINT>(xml.size()));
            if (!*resultXml) return E_OUTOFMEMORY;
            line.Text(L"xml", *resultXml);
        } else {
            line.Text(L"xml", nullptr);
        }
        line.Write();
        *resultCode = code;
        const std::wstring key = m_lastAction == Action::InstantMeeting ? KeyOf(xml) : m_lastKey;
        if (code == MeetingLibSettings::kDefaultResultCode && !key.empty() && MeetingLibSettings::ReportRunning())
            ReportRunning(key);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
}  // namespace MeetingLib
