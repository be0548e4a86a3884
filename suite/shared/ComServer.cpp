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
HRESULT RegisterClasses(const ComClassRegistration* classes, size_t count) noexcept {
    try {
        const std::wstring path = Registrar::ThisModulePath();
        HRESULT result = S_OK;
        for (size_t i = 0; i < count; ++i) {
            const HRESULT hr = Registrar::RegisterClass(classes[i], path);
            if (SUCCEEDED(result)) result = hr;
        }
        return result;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT UnregisterClasses(const ComClassRegistration* classes, size_t count) noexcept {
    try {
        for (size_t i = 0; i < count; ++i) Registrar::UnregisterClass(classes[i]);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT CanUnloadNow() noexcept {
    return (::InterlockedCompareExchange(&g_objects, 0, 0) != 0 || ::InterlockedCompareExchange(&g_locks, 0, 0) > 0)
               ? S_FALSE
               : S_OK;
}
}  // namespace ComServer
