#include "Unknown.h"

namespace {
volatile LONG g_activeComponents = 0;
volatile LONG g_serverLocks = 0;
}  // namespace

namespace ComCounters {
LONG ActiveComponents() noexcept { return ::InterlockedCompareExchange(&g_activeComponents, 0, 0); }
LONG ServerLocks() noexcept { return ::InterlockedCompareExchange(&g_serverLocks, 0, 0); }
void LockServer(BOOL lock) noexcept {
    if (lock)
        ::InterlockedIncrement(&g_serverLocks);
    else
        ::InterlockedDecrement(&g_serverLocks);
}
}  // namespace ComCounters

CUnknown::CUnknown(IUnknown* outer) noexcept
    : m_outer(outer ? outer : reinterpret_cast<IUnknown*>(static_cast<INondelegatingUnknown*>(this))) {
    ::InterlockedIncrement(&g_activeComponents);
}

CUnknown::~CUnknown() { ::InterlockedDecrement(&g_activeComponents); }

HRESULT STDMETHODCALLTYPE CUnknown::NondelegatingQueryInterface(REFIID iid, void** object) {
    if (!object) return E_INVALIDARG;
    if (iid == IID_IUnknown)
        return FinishQI(reinterpret_cast<IUnknown*>(static_cast<INondelegatingUnknown*>(this)), object);
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CUnknown::NondelegatingAddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_refCount));
}

ULONG STDMETHODCALLTYPE CUnknown::NondelegatingRelease() {
    const LONG count = ::InterlockedDecrement(&m_refCount);
    if (count == 0) {
        FinalRelease();
        delete this;
        return 0;
    }
    return static_cast<ULONG>(count);
}

HRESULT CUnknown::Init() { return S_OK; }

void CUnknown::FinalRelease() {
    // Calls made during destruction must not reach a second deletion.
    m_refCount = 1;
}

HRESULT CUnknown::FinishQI(IUnknown* pointer, void** object) noexcept {
    *object = pointer;
    pointer->AddRef();
    return S_OK;
}
