#pragma once
// What every in-process COM server of the suite needs: a count of live objects
// and server locks for DllCanUnloadNow, and a class factory for one class.
#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <initializer_list>
#include <new>

#include "ComHolders.h"
#include "ComRegistration.h"
#include "shared/SingleInterfaceObject.h"

namespace ComServer {
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void Lock(BOOL lock) noexcept;
HRESULT CanUnloadNow() noexcept;
}  // namespace ComServer

// Counts itself as a live object of the server for as long as it exists.
class CServerObject {
public:
    CServerObject() noexcept { ComServer::ObjectCreated(); }
    CServerObject(const CServerObject&) = delete;
    CServerObject& operator=(const CServerObject&) = delete;
    virtual ~CServerObject() { ComServer::ObjectDestroyed(); }
};

// T has a default constructor, starts with one reference and answers QueryInterface.
template <typename T>
class CClassFactory final : public CSingleInterfaceObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            const auto created = AdoptReference(new T());
            return created->QueryInterface(iid, object);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        ComServer::Lock(lock);
        return S_OK;
    }

    // DllGetClassObject's work for this class.
    static HRESULT Get(REFIID iid, void** object) {
        const auto factory = AdoptReference(new (std::nothrow) CClassFactory<T>());
        if (!factory) return E_OUTOFMEMORY;
        return factory->QueryInterface(iid, object);
    }
};

namespace ComServer {
// A class a library serves: its id (a constant that lives as long as the
// library) and its class object's Get.
struct ServedClass {
    const CLSID* classId;
    HRESULT (*getClassObject)(REFIID iid, void** object);
};
template <typename T>
ServedClass Serve(REFCLSID classId) noexcept {
    return {&classId, &CClassFactory<T>::Get};
}

// DllGetClassObject's work for a library that serves `classes`.
HRESULT GetClassObject(REFCLSID requested, std::initializer_list<ServedClass> classes, REFIID iid,
                       void** object) noexcept;
}  // namespace ComServer

// The entry points of a library that serves the user-interface module `Class`
// under `classId`. The window class the module registers goes when the library
// is unloaded by FreeLibrary; at process end the window system goes on its own.
#define QK_UI_MODULE_LIBRARY(Class, classId)                                                      \
    extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {                    \
        if (reason == DLL_PROCESS_DETACH && !reserved) Class::UnregisterWindowClass();             \
        return TRUE;                                                                              \
    }                                                                                             \
    extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID requested, REFIID iid, void** object) { \
        return ComServer::GetClassObject(requested, {ComServer::Serve<Class>(classId)}, iid, object); \
    }                                                                                             \
    extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return ComServer::CanUnloadNow(); }
