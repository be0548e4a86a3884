#pragma once
// The suite's login module: a small sign-in window that stores the account
// with the settings service, marks the session signed in and tells the host.
// It also speaks for the host about the messaging account: it hands the
// settings service's messaging-account document to the bus as event 23 at
// start and after a sign-in (when an account is configured), and whenever
// event 24 asks for it again.
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "VelEvents.h"
#include "VelModuleHost.h"
#include "VelUIModule.h"
#include "UniqueHandle.h"
#include "shared/ComServer.h"

class CLoginModule final : public CSingleInterfaceObject<IVelUIModule>, public CVelEventListener, public CServerObject {
public:
    static constexpr const wchar_t* kWindowClass = L"Vel_QkLoginWnd";
    static constexpr const wchar_t* kSignEventName = L"Event_QK_SIGN";
    enum : int { kSiteEdit = 1001, kUserEdit = 1002, kPasswordEdit = 1003, kStatusText = 1004 };
    // Posted to the window: deliver the messaging account; wParam 1 also when
    // the document only reports that there is none.
    static constexpr UINT kDeliverMessagingAccount = WM_APP + 23;

    CLoginModule() = default;

    // IVelUIModule
    HRESULT STDMETHODCALLTYPE InitModule(IVelModuleHost* host, HWND owner) override;
    BOOL STDMETHODCALLTYPE IsModuleClosed() override;
    HWND STDMETHODCALLTYPE GetModuleWindow() override { return m_window; }
    HRESULT STDMETHODCALLTYPE ShowModule(BOOL show) override;
    HRESULT STDMETHODCALLTYPE UninitModule() override;
    // CVelEventListener: the events after which the session is no longer
    // signed in, and the request for the messaging account.
    HRESULT HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) override;

    static void UnregisterWindowClass() noexcept;
    // Posted to the sign-in window once the frame that loaded it is up.
    static constexpr UINT kAutoSignInMessage = WM_APP + 1;
    // HKCU value that turns the automatic sign-in of a remembered account off.
    static constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\Zorvan\\Quillkit\\Login";
    static constexpr const wchar_t* kAutoSignInValue = L"AutoSignIn";

private:
    ~CLoginModule() override;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void OnSignIn();
    // Signs a remembered account in without asking, as the suite does at start.
    void OnAutoSignIn();
    // Tells the suite that the user is signed in: the sign event and event 3.
    void CompleteSignIn();
    std::wstring ControlText(int id) const;
    void ShowStatus(const wchar_t* text) const;
    void DeliverMessagingAccount(bool evenWithoutAccount);
    Microsoft::WRL::ComPtr<IVelEventBus> EventBus() const;

    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    // Held for the module's life: a named event without an open handle is gone.
    UniqueKernelHandle m_signEvent;
    bool m_subscribed = false;
};
