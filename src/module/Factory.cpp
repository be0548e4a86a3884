#include "Factory.h"

#include "RefCounting.h"

HRESULT STDMETHODCALLTYPE CFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

QK_IMPLEMENT_SELF_DELETING_REFCOUNT(CFactory)

HRESULT STDMETHODCALLTYPE CFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    try {
        CUnknown* created = nullptr;
        HRESULT hr = m_row->create(outer, &created);
        if (FAILED(hr)) return hr;
        hr = created->Init();
        if (FAILED(hr)) {
            created->NondelegatingRelease();
            return hr;
        }
        hr = created->NondelegatingQueryInterface(iid, object);
        created->NondelegatingRelease();  // the creation reference
        return hr;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CFactory::LockServer(BOOL lock) {
    ComCounters::LockServer(lock);
    return S_OK;
}
