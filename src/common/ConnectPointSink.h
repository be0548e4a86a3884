#pragma once
// A minimal dispatch sink that connects itself to one connection point of an
// event source. Its lifetime belongs to its owner, not to reference counts.
#include <ocidl.h>
#include <wrl/client.h>

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
        m_point.Reset();
        m_container.Reset();
        m_cookie = 0;
        return SUCCEEDED(hr);
    }

    [[nodiscard]] bool IsConnected() const noexcept { return m_cookie != 0; }

private:
    Microsoft::WRL::ComPtr<IConnectionPointContainer> m_container;
    Microsoft::WRL::ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
    const IID* m_eventIid = nullptr;
};
