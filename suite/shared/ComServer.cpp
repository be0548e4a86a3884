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
HRESULT GetClassObject(REFCLSID requested, std::initializer_list<ServedClass> classes, REFIID iid,
                       void** object) noexcept {
    if (!object) return E_POINTER;
    *object = nullptr;
    try {
        for (const ServedClass& served : classes)
            if (requested == *served.classId) return served.getClassObject(iid, object);
        return CLASS_E_CLASSNOTAVAILABLE;
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
