#include "HostEvents.h"

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {
// Only the user-interface thread publishes and subscribes; the host is held
// until the frame lets it go.
ComPtr<IVelModuleHost>& EventHost() noexcept {
    static ComPtr<IVelModuleHost> host;
    return host;
}

// Every step may fail (no host yet, a host without the service); the caller's
// operation is then skipped. The bus and the service are held only for the call.
template <typename Operation>
void WithEventBus(Operation&& operation) noexcept {
    try {
        ComPtr<IVelEventService> service;
        if (FAILED(GetHostEventService(EventHost().Get(), service.GetAddressOf())) || !service) return;
        ComPtr<IVelEventBus> bus;
        if (FAILED(service->GetEventBus(bus.GetAddressOf())) || !bus) return;
        operation(bus.Get());
    } catch (...) {
        // A listener's failure must not travel back into the publisher.
    }
}
}  // namespace

void SetEventHost(IVelModuleHost* host) noexcept { EventHost() = host; }

HRESULT GetHostEventService(IVelModuleHost* host, IVelEventService** service) noexcept {
    if (!service) return E_POINTER;
    *service = nullptr;
    if (!host) return E_FAIL;
    return host->QueryInterface(__uuidof(IVelEventService), reinterpret_cast<void**>(service));
}

void SubscribeHostEvent(UINT code, CVelEventListener* listener) noexcept {
    if (!listener) return;
    WithEventBus([&](IVelEventBus* bus) { bus->Subscribe(code, listener); });
}

void UnsubscribeHostEvent(UINT code, CVelEventListener* listener) noexcept {
    if (!listener) return;
    WithEventBus([&](IVelEventBus* bus) { bus->Unsubscribe(code, listener); });
}

void FireHostEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) noexcept {
    WithEventBus([&](IVelEventBus* bus) { bus->Fire(code, param1, param2, param3); });
}
