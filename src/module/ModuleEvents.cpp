#include "module/ModuleEvents.h"

#include <wrl/client.h>

#include "mainframe/MainFrame.h"

using Microsoft::WRL::ComPtr;

namespace {
// Every step may fail (no frame yet, a host without the service); the caller's
// operation is then skipped. The bus and the service are held only for the call.
template <typename Operation>
void WithEventBus(Operation&& operation) noexcept {
    try {
        ComPtr<IVelEventService> service;
        if (FAILED(GetHostEventService(CMainFrame::GetInstance(), service.GetAddressOf())) || !service) return;
        ComPtr<IVelEventBus> bus;
        if (FAILED(service->GetEventBus(bus.GetAddressOf())) || !bus) return;
        operation(bus.Get());
    } catch (...) {
        // A listener's failure must not travel back into the publisher.
    }
}
}  // namespace

HRESULT GetHostEventService(const CMainFrame* frame, IVelEventService** service) noexcept {
    if (!service) return E_POINTER;
    *service = nullptr;
    if (!frame) return E_FAIL;
    IVelModuleHost* host = frame->GetApplication();
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
