#pragma once
// The meeting-operations object: starts and joins meetings. Each call is
// written to the call log; GetResult answers the configured code and XML.
#include <windows.h>

#include <string>

#include "QkMeetingLibs.h"
#include "shared/ComServer.h"

namespace MeetingLib {

class CMeetingOperations final : public CSingleInterfaceObject<IQKMeetingOperations>, public CServerObject {
public:
    CMeetingOperations() = default;


    // IQKMeetingOperations
    HRESULT STDMETHODCALLTYPE StartInstantMeeting(HWND owner, LONG callerCode, BSTR phoneNumber, LONG reserved) override;
    HRESULT STDMETHODCALLTYPE JoinMeeting(HWND owner, BSTR meetingKey, BSTR password, BSTR siteUrl, LONG value,
                                          BSTR meetingKey2, LONG callerCode, BSTR phoneNumber, BSTR attendeeId) override;
    HRESULT STDMETHODCALLTYPE StartScheduledMeeting(HWND owner, BSTR meetingKey, BSTR topic, LONG value,
                                                    BSTR meetingKey2, LONG callerCode, BSTR phoneNumber,
                                                    BSTR attendeeId) override;
    HRESULT STDMETHODCALLTYPE StartPersonalConference(HWND owner) override;
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetResult(LONG* resultCode, BSTR* resultXml, LONG flag) override;

private:
    enum class Action { None, InstantMeeting, Join, Start, PersonalConference };

    // What this object was last asked to do: an instant meeting that started
    // hands out its new key through GetResult.
    Action m_lastAction = Action::None;
    // The meeting a start or a join asked for.
    std::wstring m_lastKey;
};
}  // namespace MeetingLib
