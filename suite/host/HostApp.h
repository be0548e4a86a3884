#pragma once
// The host application object handed to a module: command line, start
// parameters, the message loop's filters and idle handlers, the close request
// and the event service.
#include <windows.h>
#include <wrl/client.h>

#include <map>
#include <string>

#include "VelEvents.h"
#include "VelModuleHost.h"
#include "host/CallbackList.h"
#include "host/EventBus.h"

class CHostApp final : public IVelModuleHost, public IVelEventService {
public:
    // `commandLine` is what the module sees, program name first; parameter
    // names compare without regard to case.
    CHostApp(std::wstring commandLine, std::map<std::wstring, std::wstring> parameters);
    CHostApp(const CHostApp&) = delete;
    CHostApp& operator=(const CHostApp&) = delete;

    // IUnknown (shared by both interfaces)
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IVelModuleHost
    HRESULT STDMETHODCALLTYPE GetCommandLine(BSTR* commandLine) override;
    HRESULT STDMETHODCALLTYPE GetParameter(BSTR name, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddMessageFilter(CMessageFilter* filter) override;
    HRESULT STDMETHODCALLTYPE RemoveMessageFilter(CMessageFilter* filter) override;
    HRESULT STDMETHODCALLTYPE AddIdleHandler(CIdleHandler* handler) override;
    HRESULT STDMETHODCALLTYPE RemoveIdleHandler(CIdleHandler* handler) override;
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CloseHost(LONG exitCode) override;

    // IVelEventService
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved8() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved10() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEventBus(IVelEventBus** bus) override;

    // The loop's side of the filters and idle handlers.
    BOOL PreTranslateMessage(MSG* msg);
    BOOL RunIdleHandlers();

    [[nodiscard]] size_t MessageFilterCount() const noexcept { return m_filters.Size(); }
    [[nodiscard]] size_t IdleHandlerCount() const noexcept { return m_idleHandlers.Size(); }
    [[nodiscard]] ULONG ReferenceCount() const noexcept { return static_cast<ULONG>(m_refCount); }
    [[nodiscard]] bool CloseRequested() const noexcept { return m_closeRequested; }
    [[nodiscard]] LONG RequestedExitCode() const noexcept { return m_exitCode; }
    [[nodiscard]] CEventBus& Bus() noexcept { return *m_bus.Get(); }

private:
    ~CHostApp();

    volatile LONG m_refCount = 1;
    std::wstring m_commandLine;
    std::map<std::wstring, std::wstring> m_parameters;  // keys lower-cased
    CallbackList<CMessageFilter> m_filters;
    CallbackList<CIdleHandler> m_idleHandlers;
    Microsoft::WRL::ComPtr<CEventBus> m_bus;
    bool m_closeRequested = false;
    LONG m_exitCode = 0;
};
