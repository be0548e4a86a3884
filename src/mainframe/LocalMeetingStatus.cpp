// Whether a meeting runs in this session, as the suite's meeting component
// sees it; the IP-phone bridge asks before it starts or joins one.
#include <wrl/client.h>

#include "QkServiceInterfaces.h"
#include "ComHolders.h"
#include "StringEx.h"
#include "Trace.h"
#include "MainFrame.h"
#include "MSDom.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr DWORD kClassContext = 0x17;  // in-process, handler, local and remote servers

bool SameText(const CStringEx& a, const wchar_t* b) {
    return ::CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}
}  // namespace

LONG CMainFrame::QueryLocalMeetingStatus(const wchar_t* meetingKey, LONG* flag) {
    CAutoFunTrace trace("CMainFrame::LocalMeetingStatus");
    try {
        ComPtr<IQKMeetingComponent> component;
        if (FAILED(::CoCreateInstance(CLSID_QKMeetingComponent, nullptr, kClassContext, IID_PPV_ARGS(&component))) ||
            !component)
            return 0;
        Bstr meetings;
        if (FAILED(component->GetRunningMeetings(meetings.receive())) || meetings.empty()) return 0;
        ComPtr<IUnknown> document;
        if (FAILED(CMSDom::CreateFromString(meetings.get(), &document)) || !document) return 0;
        ComPtr<IUnknown> list;
        if (FAILED(CMSDom::GetNodeList(document.Get(), Bstr(L"//meeting").get(), &list)) || !list) return 0;
        const LONG count = CMSDom::GetNodeListCount(list.Get());
        if (count <= 0) return 0;

        const wchar_t* key = meetingKey ? meetingKey : L"";
        for (LONG i = 0; i < count; ++i) {
            ComPtr<IUnknown> meeting;
            if (FAILED(CMSDom::GetNodeFromList(list.Get(), i, &meeting)) || !meeting) return 0;
            CStringEx runningKey, userType;
            CMSDom::GetChildNodeValue(meeting.Get(), Bstr(L"meetingKey").get(), runningKey);
            CMSDom::GetChildNodeValue(meeting.Get(), Bstr(L"userType").get(), userType);
            if (flag && SameText(userType, L"*")) *flag = 1;
            if (!runningKey.IsEmpty() && SameText(runningKey, key)) return kMeetingRunning;
        }
        return kMeetingNotRunning;
    } catch (...) {
        return 0;
    }
}
