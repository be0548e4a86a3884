#pragma once
// The frame's services as code below the main frame sees them, recording
// what it is asked for: the synchronisation object is the real web-API
// component's (loaded from the output folder), meeting operations become
// lines, and commands posted to the frame window are kept.
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "FrameServices.h"
#include "UniqueHandle.h"
#include "webapi/WebApiLibrary.h"

namespace testsupport {
class RecordingFrame final : public IFrameServices {
public:
    RecordingFrame();
    ~RecordingFrame();
    RecordingFrame(const RecordingFrame&) = delete;
    RecordingFrame& operator=(const RecordingFrame&) = delete;

    [[nodiscard]] HWND FrameWindow() const noexcept override { return m_window.get(); }
    HRESULT GetSyncObject(IQKWebApiSync** sync, BOOL reset) override;
    [[nodiscard]] LONG GetListType() const noexcept override { return 2; }
    void PostRefresh() override { calls.push_back(L"PostRefresh"); }
    void SignInAgainWithError(INT_PTR code, INT_PTR, INT_PTR) override {
        calls.push_back(L"SignInAgainWithError code=" + std::to_wstring(code));
    }
    void RequestReSignin() override { calls.push_back(L"RequestReSignin"); }
    void OpenMainFrame() override { calls.push_back(L"OpenMainFrame"); }
    void OnTrayAnimate(BOOL syncing) override { calls.push_back(syncing ? L"OnTrayAnimate 1" : L"OnTrayAnimate 0"); }
    HRESULT StartInstantMeeting(BSTR) override {
        calls.push_back(L"StartInstantMeeting");
        return S_OK;
    }
    HRESULT StartMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR topic, LONG value) override;
    HRESULT JoinMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR password, BSTR site, LONG value,
                        BOOL passwordRequired) override;
    HRESULT EditMeeting(BSTR meetingKey, BOOL notFromOI, DATE start) override;
    HRESULT ViewMeetingDetail(BSTR meetingKey, BOOL notFromOI, DATE start) override;
    LONG LocalMeetingStatus(const wchar_t*, LONG*) override { return 0; }
    [[nodiscard]] HIMAGELIST CommandImage(UINT command, int* index) const override;

    // Gives `command` a picture in menus: a 16x16 square of `color`.
    void SetCommandImage(UINT command, COLORREF color);
    // The WM_COMMAND wParams posted to the frame window since the last call.
    std::vector<WPARAM> TakeCommands();
    // "Operation key=... notFromOI=... start=..." per call, in order.
    std::vector<std::wstring> calls;

private:
    webapitest::WebApiLibrary m_library;
    Microsoft::WRL::ComPtr<IQKWebApiSync> m_sync;
    UniqueHwnd m_window;
    HIMAGELIST m_images = nullptr;
    UINT m_imageCommand = 0;
};
}  // namespace testsupport
