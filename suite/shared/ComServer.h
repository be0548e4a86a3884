#pragma once
// What every in-process COM server of the suite needs: a count of live objects
// and server locks for DllCanUnloadNow, and a class factory for one class.
#include <windows.h>
#include <unknwn.h>
#include <wrl/client.h>

#include <new>

#include "ComHolders.h"
#include "ComRegistration.h"

namespace ComServer {
void ObjectCreated() noexcept;
void ObjectDestroyed() noexcept;
void Lock(BOOL lock) noexcept;
HRESULT CanUnloadNow() noexcept;
// DllRegisterServer's and DllUnregisterServer's work for a server's classes.
HRESULT RegisterClasses(const ComClassRegistration* classes, size_t count) noexcept;
HRESULT UnregisterClasses(const ComClassRegistration* classes, size_t count) noexcept;
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
class CClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refCount)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG count = ::InterlockedDecrement(&m_refCount);
        if (count == 0) delete this;
        return static_cast<ULONG>(count);
    }
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

private:
    volatile LONG m_refCount = 1;
};
