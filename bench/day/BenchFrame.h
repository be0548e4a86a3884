#pragma once
// The frame's services as the benchmarks need them: the suite's web-API
// component loaded from the program's own folder, as the module loads it, and
// a hidden window that swallows the commands posted to the frame. Meeting
// operations are not part of any timed work and do nothing.
#include <windows.h>
#include <wrl/client.h>

#include "DLLHandle.h"
#include "FrameServices.h"
#include "UniqueHandle.h"

namespace bench {
class BenchFrame final : public IFrameServices {
public:
    BenchFrame();
    ~BenchFrame();
    BenchFrame(const BenchFrame&) = delete;
    BenchFrame& operator=(const BenchFrame&) = delete;

    [[nodiscard]] HWND FrameWindow() const noexcept override { return m_window.get(); }
    HRESULT GetSyncObject(IQKWebApiSync** sync, BOOL reset) override;
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

    // Runs one synchronisation to its end, as the meeting list view does
    // before the day is loaded; TRUE when it succeeded.
    BOOL Synchronise();

private:
    CDLLHandle m_library;
    Microsoft::WRL::ComPtr<IQKWebApiSync> m_sync;
    UniqueHwnd m_window;
};
}  // namespace bench
