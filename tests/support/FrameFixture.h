#pragma once
// A real main frame window on the real host's bus, with the login module's
// window and the session's sign-in event under the test's control.
#include <windows.h>
#include <wrl/client.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "VelEvents.h"
#include "VelUIModule.h"
#include "UniqueHandle.h"
#include "MainFrame.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"

namespace frametest {
struct Received {
    UINT code;
    INT_PTR first, second, third;
    // The texts of tooltips and balloons, copied while the event is delivered.
    std::wstring text, title;
    bool operator==(const Received&) const = default;
};

class RecordingListener : public CVelEventListener {
public:
    HRESULT HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) override;
    std::vector<Received> received;
};

// What the frame needs of the suite's login module: a window it can look at.
class LoginModuleDouble final : public IVelUIModule {
public:
    static Microsoft::WRL::ComPtr<LoginModuleDouble> Create();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE InitModule(IVelModuleHost*, HWND) override { return S_OK; }
    BOOL STDMETHODCALLTYPE IsModuleClosed() override { return !::IsWindow(m_window); }
    HWND STDMETHODCALLTYPE GetModuleWindow() override { return m_window; }
    HRESULT STDMETHODCALLTYPE ShowModule(BOOL show) override;
    HRESULT STDMETHODCALLTYPE UninitModule() override;

    [[nodiscard]] ULONG References() const noexcept { return static_cast<ULONG>(m_refs); }
    int uninitCalls = 0;

private:
    LoginModuleDouble();
    ~LoginModuleDouble();
    volatile LONG m_refs = 1;
    HWND m_window = nullptr;
};

// The session's sign-in event, held by the test and left unsignalled.
class SignEvent {
public:
    SignEvent() : m_event(::CreateEventW(nullptr, TRUE, FALSE, CMainFrame::kSignEventName)) {}
    ~SignEvent() { Reset(); }
    SignEvent(const SignEvent&) = delete;
    SignEvent& operator=(const SignEvent&) = delete;
    void Set() const { ::SetEvent(m_event.get()); }
    void Reset() const { ::ResetEvent(m_event.get()); }

private:
    UniqueKernelHandle m_event;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Signalled sign-in event and a hidden login window: the frame is signed in.
    void SignIn();
    // The WM_COMMAND wParams posted to the frame since the last call.
    std::vector<WPARAM> TakeCommands() const;
    // Whether the frame's timer was running; stops it.
    bool TimerWasRunning(UINT_PTR id) const { return ::KillTimer(frame->m_hWnd, id) != FALSE; }
    // Events of `code` received since the fixture subscribed.
    std::vector<Received> Events(UINT code) const;

    TestHost host;
    SignEvent sign;
    std::unique_ptr<CMainFrame> frame;
    bool ownsResources = false;
    Microsoft::WRL::ComPtr<LoginModuleDouble> login;
    RecordingListener listener;
};
}  // namespace frametest
