#include "shared/ComServer.h"

#include "shared/SuiteFault.h"

namespace {
volatile LONG g_objects = 0;
volatile LONG g_locks = 0;

// The class object of a class whose fault switch refuses creation.
class CRefusingFactory final : public CSingleInterfaceObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        ComServer::Lock(lock);
        return S_OK;
    }
};
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
        for (const ServedClass& served : classes) {
            if (requested != *served.classId) continue;
            if (SuiteFault::ForClass(requested) == SuiteFault::kRefuseCreation) {
                const auto refusing = AdoptReference(new (std::nothrow) CRefusingFactory());
                return refusing ? refusing->QueryInterface(iid, object) : E_OUTOFMEMORY;
            }
            return served.getClassObject(iid, object);
        }
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
