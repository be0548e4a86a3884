#pragma once
// One outgoing dispatch interface of an object: the sinks advised to it and
// the firing of events to them.
#include <ocidl.h>
#include <olectl.h>
#include <wrl/client.h>

#include <map>

class CConnectionPoint final : public IConnectionPoint {
public:
    // The container owns this point; the point's references are the container's.
    CConnectionPoint(IConnectionPointContainer* container, const IID& eventIid) noexcept
        : m_container(container), m_eventIid(eventIid) {}
    CConnectionPoint(const CConnectionPoint&) = delete;
    CConnectionPoint& operator=(const CConnectionPoint&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return m_container->AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_container->Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

    [[nodiscard]] const IID& EventIid() const noexcept { return m_eventIid; }
    [[nodiscard]] size_t SinkCount() const noexcept { return m_sinks.size(); }
    // Calls `dispatchId` with one BSTR argument on every sink; a sink that
    // unadvises itself or another one during the call is handled.
    void FireText(DISPID dispatchId, const wchar_t* text);
    // Drops every sink (when the owner goes away).
    void Clear() noexcept { m_sinks.clear(); }

private:
    IConnectionPointContainer* m_container;
    IID m_eventIid;
    std::map<DWORD, Microsoft::WRL::ComPtr<IDispatch>> m_sinks;
    DWORD m_nextCookie = 1;
};
