#pragma once
// A main frame as the code below it sees it: every request is recorded with
// its arguments and answered with S_OK (or with `result` where one is asked).
// Test programs that use it link the meetings library.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "FrameServices.h"

namespace testsupport {
class RecordingFrameServices : public IFrameServices {
public:
    struct Call {
        std::string operation;
        std::wstring key;
        BOOL flag;
        DATE start;
        bool operator==(const Call&) const = default;
    };

    [[nodiscard]] HWND FrameWindow() const noexcept override { return window; }
    HRESULT GetSyncObject(IQKWebApiSync** sync, BOOL) override {
        if (sync) *sync = nullptr;
        return sync ? E_FAIL : E_INVALIDARG;
    }
    [[nodiscard]] LONG GetListType() const noexcept override { return 0; }
    void PostRefresh() override { Record("PostRefresh"); }
    void SignInAgainWithError(INT_PTR code, INT_PTR, INT_PTR) override { Record("SignInAgain", nullptr, BOOL(code)); }
    void RequestReSignin() override { Record("RequestReSignin"); }
    void OpenMainFrame() override { Record("OpenMainFrame"); }
    void OnTrayAnimate(BOOL) override { Record("OnTrayAnimate"); }
    HRESULT StartInstantMeeting(BSTR phone) override { return Record("StartInstantMeeting", phone); }
    HRESULT StartMeeting(BSTR key, BSTR, BSTR, LONG value) override { return Record("StartMeeting", key, value); }
    HRESULT JoinMeeting(BSTR key, BSTR, BSTR, BSTR, LONG value, BOOL) override {
        return Record("JoinMeeting", key, value);
    }
    HRESULT EditMeeting(BSTR key, BOOL notFromOI, DATE start) override {
        return Record("EditMeeting", key, notFromOI, start);
    }
    HRESULT ViewMeetingDetail(BSTR key, BOOL notFromOI, DATE start) override {
        return Record("ViewMeetingDetail", key, notFromOI, start);
    }
    LONG LocalMeetingStatus(const wchar_t* key, LONG* flag) override {
        if (flag) *flag = 0;
        Record("LocalMeetingStatus", key);
        return 0;
    }

    HWND window = nullptr;
    HRESULT result = S_OK;
    std::vector<Call> calls;

private:
    HRESULT Record(const char* operation, const wchar_t* key = nullptr, BOOL flag = 0, DATE start = 0.0) {
        calls.push_back({operation, key ? key : L"", flag, start});
        return result;
    }
};
}  // namespace testsupport
