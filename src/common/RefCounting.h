#pragma once
// AddRef and Release for a COM object that owns itself: a `volatile LONG
// m_refCount` starting at 1, and deletion when the last reference goes.
#include <windows.h>

#define QK_IMPLEMENT_SELF_DELETING_REFCOUNT(Class)                                                         \
    ULONG STDMETHODCALLTYPE Class::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refCount)); } \
    ULONG STDMETHODCALLTYPE Class::Release() {                                                             \
        const LONG count = ::InterlockedDecrement(&m_refCount);                                            \
        if (count == 0) delete this;                                                                       \
        return static_cast<ULONG>(count);                                                                  \
    }
