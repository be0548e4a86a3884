#pragma once
// How the module's windows reach the host's event bus. The main frame names
// the host when it receives it and clears it when it goes; until then, and
// for a host without an event service, the helpers do nothing, so a window can
// publish and subscribe without knowing whether a bus exists.
#include <windows.h>

#include <initializer_list>

#include "VelEvents.h"
#include "VelModuleHost.h"

// The host whose event bus the helpers use (a counted reference; null forgets it).
void SetEventHost(IVelModuleHost* host) noexcept;

// E_FAIL when `host` is null; otherwise the host's answer to the
// event-service request.
[[nodiscard]] HRESULT GetHostEventService(IVelModuleHost* host, IVelEventService** service) noexcept;

void SubscribeHostEvent(UINT code, CVelEventListener* listener) noexcept;
void UnsubscribeHostEvent(UINT code, CVelEventListener* listener) noexcept;
void FireHostEvent(UINT code, INT_PTR param1 = 0, INT_PTR param2 = 0, INT_PTR param3 = 0) noexcept;

// A listener takes all its codes when its window is created and gives them
// back one by one when it goes.
inline void SubscribeHostEvents(std::initializer_list<UINT> codes, CVelEventListener* listener) noexcept {
    for (UINT code : codes) SubscribeHostEvent(code, listener);
}
inline void UnsubscribeHostEvents(std::initializer_list<UINT> codes, CVelEventListener* listener) noexcept {
    for (UINT code : codes) UnsubscribeHostEvent(code, listener);
}
