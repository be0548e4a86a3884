#pragma once
// The host's event bus: listeners per event code, called synchronously.
#include <map>

#include "VelEvents.h"
#include "host/CallbackList.h"

class CEventBus final : public IVelEventBus {
public:
    CEventBus() = default;
    CEventBus(const CEventBus&) = delete;
    CEventBus& operator=(const CEventBus&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Subscribe(UINT code, CVelEventListener* listener) override;
    HRESULT STDMETHODCALLTYPE Unsubscribe(UINT code, CVelEventListener* listener) override;
    HRESULT STDMETHODCALLTYPE Fire(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;

    [[nodiscard]] size_t ListenerCount(UINT code) const;

private:
    ~CEventBus() = default;

    volatile LONG m_refCount = 1;
    std::map<UINT, CallbackList<CVelEventListener>> m_listeners;
};
