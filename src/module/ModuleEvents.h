#pragma once
// How the module's windows reach the host's event bus: through the host object
// that the single main frame holds. The helpers skip silently when there is no
// frame, no host or no event service, so a window can publish and subscribe
// without knowing whether a bus exists.
#include <windows.h>

#include <initializer_list>

#include "VelEvents.h"

class CMainFrame;

// E_FAIL when `frame` is null or holds no host; otherwise the host's answer to
// the event-service request.
[[nodiscard]] HRESULT GetHostEventService(const CMainFrame* frame, IVelEventService** service) noexcept;

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
