#pragma once
// The reference-counted base of the module's component objects, with a
// non-delegating IUnknown so that an object could be aggregated.
#include <windows.h>
#include <unknwn.h>

namespace ComCounters {
// Live CUnknown-derived objects.
LONG ActiveComponents() noexcept;
// LockServer balance.
LONG ServerLocks() noexcept;
void LockServer(BOOL lock) noexcept;
}  // namespace ComCounters

struct INondelegatingUnknown {
    virtual HRESULT STDMETHODCALLTYPE NondelegatingQueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE NondelegatingAddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE NondelegatingRelease() = 0;
};

class CUnknown : public INondelegatingUnknown {
public:
    // `outer` is the aggregating object's IUnknown, or null when not aggregated.
    explicit CUnknown(IUnknown* outer) noexcept;
    CUnknown(const CUnknown&) = delete;
    CUnknown& operator=(const CUnknown&) = delete;

    HRESULT STDMETHODCALLTYPE NondelegatingQueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE NondelegatingAddRef() override;
    ULONG STDMETHODCALLTYPE NondelegatingRelease() override;
    virtual ~CUnknown();
    virtual HRESULT Init();
    virtual void FinalRelease();

protected:
    // Stores `pointer` in `object` and adds a reference through it.
    static HRESULT FinishQI(IUnknown* pointer, void** object) noexcept;
    [[nodiscard]] IUnknown* GetOuterUnknown() const noexcept { return m_outer; }

private:
    volatile LONG m_refCount = 1;
    IUnknown* m_outer;
};

// The IUnknown part of a module class forwards to the outer unknown.
#define DECLARE_FORWARDING_IUNKNOWN()                                                             \
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {               \
        return GetOuterUnknown()->QueryInterface(iid, object);                                     \
    }                                                                                              \
    ULONG STDMETHODCALLTYPE AddRef() override { return GetOuterUnknown()->AddRef(); }              \
    ULONG STDMETHODCALLTYPE Release() override { return GetOuterUnknown()->Release(); }
