#include "host/HostApp.h"

#include <cwctype>

#include "ComHolders.h"
#include "RefCounting.h"

namespace {
std::wstring Lowered(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}
}  // namespace

CHostApp::CHostApp(std::wstring commandLine, std::map<std::wstring, std::wstring> parameters)
    : m_commandLine(std::move(commandLine)), m_bus(AdoptReference(new CEventBus())) {
    for (auto& [name, value] : parameters) m_parameters[Lowered(name)] = value;
}

CHostApp::~CHostApp() = default;

HRESULT STDMETHODCALLTYPE CHostApp::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(IVelModuleHost)) {
        *object = static_cast<IVelModuleHost*>(this);
    } else if (iid == __uuidof(IVelEventService)) {
        *object = static_cast<IVelEventService*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

QK_IMPLEMENT_SELF_DELETING_REFCOUNT(CHostApp)

HRESULT STDMETHODCALLTYPE CHostApp::GetCommandLine(BSTR* commandLine) {
    if (!commandLine) return E_POINTER;
    *commandLine = ::SysAllocStringLen(m_commandLine.data(), static_cast<UINT>(m_commandLine.size()));
    return *commandLine ? S_OK : E_OUTOFMEMORY;
}

HRESULT STDMETHODCALLTYPE CHostApp::GetParameter(BSTR name, BSTR* value) {
    if (!name || !value) return E_POINTER;
    *value = nullptr;
    try {
        const auto it = m_parameters.find(Lowered(name));
        if (it == m_parameters.end()) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
        *value = ::SysAllocStringLen(it->second.data(), static_cast<UINT>(it->second.size()));
        return *value ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE CHostApp::AddMessageFilter(CMessageFilter* filter) {
    if (!filter) return E_POINTER;
    return m_filters.Add(filter) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CHostApp::RemoveMessageFilter(CMessageFilter* filter) {
    return m_filters.Remove(filter) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CHostApp::AddIdleHandler(CIdleHandler* handler) {
    if (!handler) return E_POINTER;
    return m_idleHandlers.Add(handler) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CHostApp::RemoveIdleHandler(CIdleHandler* handler) {
    return m_idleHandlers.Remove(handler) ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CHostApp::CloseHost(LONG exitCode) {
    m_closeRequested = true;
    m_exitCode = exitCode;
    ::PostQuitMessage(exitCode);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CHostApp::GetEventBus(IVelEventBus** bus) {
    if (!bus) return E_POINTER;
    return m_bus.CopyTo(bus);
}

BOOL CHostApp::PreTranslateMessage(MSG* msg) {
    // The most recently added filter sees the message first.
    return m_filters.Walk([msg](CMessageFilter* filter) { return filter->PreTranslateMessage(msg) != FALSE; }, true)
               ? TRUE
               : FALSE;
}

BOOL CHostApp::RunIdleHandlers() {
    BOOL wantsMore = FALSE;
    m_idleHandlers.Walk([&wantsMore](CIdleHandler* handler) {
        if (handler->OnIdle()) wantsMore = TRUE;
        return false;
    });
    return wantsMore;
}
