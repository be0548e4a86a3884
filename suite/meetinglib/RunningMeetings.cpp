#include "meetinglib/RunningMeetings.h"

#include <wrl/client.h>

#include "ComHolders.h"
#include "QkServiceInterfaces.h"
#include "shared/XmlText.h"

namespace MeetingLib {

std::wstring WithRunningMeeting(const std::wstring& meetingsXml, const std::wstring& key) {
    const std::wstring keyElement = L"<meetingKey>" + EscapeXml(key) + L"</meetingKey>";
    if (meetingsXml.find(keyElement) != std::wstring::npos) return meetingsXml;
    const std::wstring meeting = L"<meeting>" + keyElement + L"<userType>host</userType></meeting>";
    const size_t end = meetingsXml.rfind(L"</meetings>");
    if (end != std::wstring::npos) return meetingsXml.substr(0, end) + meeting + meetingsXml.substr(end);
    // An empty list, or none at all.
    return L"<meetings>" + meeting + L"</meetings>";
}

bool ReportRunning(const std::wstring& key) {
    Microsoft::WRL::ComPtr<IQKMeetingComponent> component;
    if (FAILED(::CoCreateInstance(CLSID_QKMeetingComponent, nullptr, CLSCTX_INPROC_SERVER,
                                  __uuidof(IQKMeetingComponent), reinterpret_cast<void**>(component.GetAddressOf()))))
        return false;
    Bstr running;
    if (FAILED(component->GetRunningMeetings(running.receive()))) return false;
    Microsoft::WRL::ComPtr<IQKSuiteState> state;
    if (FAILED(component.As(&state))) return false;
    return SUCCEEDED(state->SetRunningMeetings(Bstr(WithRunningMeeting(running.str(), key)).get()));
}
}  // namespace MeetingLib
