#include "shared/ComServer.h"

namespace {
volatile LONG g_objects = 0;
volatile LONG g_locks = 0;
}  // namespace

namespace ComServer {
void ObjectCreated() noexcept { ::InterlockedIncrement(&g_objects); }
void ObjectDestroyed() noexcept { ::InterlockedDecrement(&g_objects); }
void Lock(BOOL lock) noexcept {
    if (lock)
        ::InterlockedIncrement(&g_locks);
    else
        ::InterlockedDecrement(&g_locks);
}
HRESULT CanUnloadNow() noexcept {
    return (::InterlockedCompareExchange(&g_objects, 0, 0) != 0 || ::InterlockedCompareExchange(&g_locks, 0, 0) > 0)
               ? S_FALSE
               : S_OK;
}
}  // namespace ComServer
