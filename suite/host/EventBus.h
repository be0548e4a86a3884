#pragma once
// The host's event bus: listeners per event code, called synchronously.
#include <map>

#include "VelEvents.h"
#include "host/CallbackList.h"
#include "shared/SingleInterfaceObject.h"

class CEventBus final : public CSingleInterfaceObject<IVelEventBus> {
public:
    CEventBus() = default;

    HRESULT STDMETHODCALLTYPE Subscribe(UINT code, CVelEventListener* listener) override;
    HRESULT STDMETHODCALLTYPE Unsubscribe(UINT code, CVelEventListener* listener) override;
    HRESULT STDMETHODCALLTYPE Fire(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;

    [[nodiscard]] size_t ListenerCount(UINT code) const;

private:
    ~CEventBus() override = default;

    std::map<UINT, CallbackList<CVelEventListener>> m_listeners;
};
