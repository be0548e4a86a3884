#pragma once
// The class object handed out by DllGetClassObject: a new one per call, bound
// to one row of the class table.
#include <windows.h>

#include "ClassTable.h"

class CFactory : public IClassFactory {
public:
    explicit CFactory(const ClassTableRow* row) noexcept : m_row(row) {}
    virtual ~CFactory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    volatile LONG m_refCount = 1;
    const ClassTableRow* m_row;
};
