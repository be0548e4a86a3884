#pragma once
// The IUnknown of a suite object that answers for IUnknown and one interface
// only: it starts with one reference and deletes itself with the last.
#include <windows.h>
#include <unknwn.h>

template <typename Interface>
class CSingleInterfaceObject : public Interface {
public:
    CSingleInterfaceObject() = default;
    CSingleInterfaceObject(const CSingleInterfaceObject&) = delete;
    CSingleInterfaceObject& operator=(const CSingleInterfaceObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *object = static_cast<Interface*>(this);
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

protected:
    virtual ~CSingleInterfaceObject() = default;

private:
    volatile LONG m_refCount = 1;
};
