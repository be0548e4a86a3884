#pragma once
// Frame services for programs that drive the day view without a main frame
// (the benchmarks, the robustness tests): no window, list type 2, and every
// request and meeting operation accepted and ignored. They give the
// synchronisation object; the rest they may override.
#include "FrameServices.h"

class CIdleFrameServices : public IFrameServices {
public:
    [[nodiscard]] HWND FrameWindow() const noexcept override { return nullptr; }
    [[nodiscard]] LONG GetListType() const noexcept override { return 2; }
    void PostRefresh() override {}
    void OpenMainFrame() override {}
    void OnTrayAnimate(BOOL) override {}
    void SignInAgainWithError(INT_PTR, INT_PTR, INT_PTR) override {}
    void RequestReSignin() override {}
    HRESULT StartInstantMeeting(BSTR) override { return S_OK; }
    HRESULT StartMeeting(BSTR, BSTR, BSTR, LONG) override { return S_OK; }
    HRESULT JoinMeeting(BSTR, BSTR, BSTR, BSTR, LONG, BOOL) override { return S_OK; }
    HRESULT EditMeeting(BSTR, BOOL, DATE) override { return S_OK; }
    HRESULT ViewMeetingDetail(BSTR, BOOL, DATE) override { return S_OK; }
    LONG LocalMeetingStatus(const wchar_t*, LONG* flag) override {
        if (flag) *flag = 0;
        return 0;
    }

protected:
    ~CIdleFrameServices() = default;
};
