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
#include "common/UniqueHandle.h"
#include "shared/ComServer.h"

class CLoginModule final : public IVelUIModule, public CVelEventListener, public CServerObject {
public:
    static constexpr const wchar_t* kWindowClass = L"Vel_QkLoginWnd";
    static constexpr const wchar_t* kSignEventName = L"Event_QK_SIGN";
    enum : int { kSiteEdit = 1001, kUserEdit = 1002, kPasswordEdit = 1003, kStatusText = 1004 };
    // Posted to the window: deliver the messaging account; wParam 1 also when
    // the document only reports that there is none.
    static constexpr UINT kDeliverMessagingAccount = WM_APP + 23;

    CLoginModule() = default;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refCount)); }
    ULONG STDMETHODCALLTYPE Release() override;
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

private:
    ~CLoginModule() override;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void OnSignIn();
    std::wstring ControlText(int id) const;
    void ShowStatus(const wchar_t* text) const;
    void DeliverMessagingAccount(bool evenWithoutAccount);
    Microsoft::WRL::ComPtr<IVelEventBus> EventBus() const;

    volatile LONG m_refCount = 1;
    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    // Held for the module's life: a named event without an open handle is gone.
    UniqueKernelHandle m_signEvent;
    bool m_subscribed = false;
};
