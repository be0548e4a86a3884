#pragma once
// A minimal dispatch sink that connects itself to one connection point of an
// event source. Its lifetime belongs to its owner, not to reference counts.
#include <ocidl.h>
#include <wrl/client.h>

#include "ModuleState.h"

template <typename T>
class CConnectPointSink : public IDispatch {
public:
    CConnectPointSink() = default;
    CConnectPointSink(const CConnectPointSink&) = delete;
    CConnectPointSink& operator=(const CConnectPointSink&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if ((m_eventIid && iid == *m_eventIid) || iid == IID_IUnknown || iid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 0; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    // Invoke is each sink's own.

    virtual ~CConnectPointSink() { Disconnect(); }

    // TRUE when connected (also when it already was).
    BOOL Connect(IUnknown* source, const IID* eventIid) {
        m_eventIid = eventIid;
        if (m_cookie != 0) return TRUE;
        if (!source || !eventIid) return FALSE;
        Microsoft::WRL::ComPtr<IConnectionPointContainer> container;
        Microsoft::WRL::ComPtr<IConnectionPoint> point;
        if (FAILED(source->QueryInterface(IID_PPV_ARGS(&container))) ||
            FAILED(container->FindConnectionPoint(*eventIid, &point)) || !point)
            return FALSE;
        DWORD cookie = 0;
        if (FAILED(point->Advise(static_cast<IDispatch*>(this), &cookie))) return FALSE;
        m_container = std::move(container);
        m_point = std::move(point);
        m_cookie = cookie;
        return TRUE;
    }

    BOOL Disconnect() {
        if (!m_point) return FALSE;
        const HRESULT hr = m_point->Unadvise(m_cookie);
        // A source that would not let go may still call this sink.
        if (FAILED(hr)) m_heldBySource = true;
        m_point.Reset();
        m_container.Reset();
        m_cookie = 0;
        return SUCCEEDED(hr);
    }

    [[nodiscard]] bool IsConnected() const noexcept { return m_cookie != 0; }
    // Whether a source refused to unadvise this sink: the owner must not delete it.
    [[nodiscard]] bool IsHeldBySource() const noexcept { return m_heldBySource; }

private:
    Microsoft::WRL::ComPtr<IConnectionPointContainer> m_container;
    Microsoft::WRL::ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
    const IID* m_eventIid = nullptr;
    bool m_heldBySource = false;
};

// Disconnects and deletes a sink its owner is done with. A sink whose source
// refused to let it go is kept instead, with this module's code pinned in
// memory, so the source's next event does not reach freed memory.
template <typename Sink>
void DeleteSink(Sink* sink) noexcept {
    if (!sink) return;
    sink->Disconnect();
    if (!sink->IsHeldBySource()) {
        delete sink;
        return;
    }
    HMODULE pinned = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(ModuleState::Instance()), &pinned);
}
