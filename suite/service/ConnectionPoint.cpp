#include "service/ConnectionPoint.h"

#include <vector>

#include "ComHolders.h"

HRESULT STDMETHODCALLTYPE CConnectionPoint::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = m_eventIid;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = m_container;
    m_container->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    Microsoft::WRL::ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(m_eventIid, reinterpret_cast<void**>(dispatch.GetAddressOf()))) &&
        FAILED(sink->QueryInterface(IID_PPV_ARGS(&dispatch))))
        return CONNECT_E_CANNOTCONNECT;
    try {
        const DWORD assigned = m_nextCookie++;
        m_sinks.emplace(assigned, std::move(dispatch));
        *cookie = assigned;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::Unadvise(DWORD cookie) {
    const auto it = m_sinks.find(cookie);
    if (it == m_sinks.end()) return CONNECT_E_NOCONNECTION;
    // Take the sink out before its last reference goes: its Release may call back.
    Microsoft::WRL::ComPtr<IDispatch> sink = std::move(it->second);
    m_sinks.erase(it);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

void CConnectionPoint::FireText(DISPID dispatchId, const wchar_t* text) {
    std::vector<DWORD> cookies;
    for (const auto& entry : m_sinks) cookies.push_back(entry.first);
    for (DWORD cookie : cookies) {
        const auto it = m_sinks.find(cookie);
        if (it == m_sinks.end()) continue;  // unadvised by an earlier sink of this round
        Microsoft::WRL::ComPtr<IDispatch> sink = it->second;
        Variant argument{std::wstring_view(text ? text : L"")};
        VARIANTARG arguments[1] = {argument.get()};
        DISPPARAMS parameters{arguments, nullptr, 1, 0};
        sink->Invoke(dispatchId, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr, nullptr,
                     nullptr);
    }
}
