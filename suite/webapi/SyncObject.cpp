#include "webapi/SyncObject.h"

#include <new>

#include "webapi/DemoDay.h"

namespace WebApi {
namespace {
volatile LONG g_liveObjects = 0;
volatile LONG g_locks = 0;

DATE LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    DATE value = 0.0;
    ::SystemTimeToVariantTime(&now, &value);
    return value;
}
}  // namespace

void ServerLock(bool lock) noexcept {
    if (lock)
        ::InterlockedIncrement(&g_locks);
    else
        ::InterlockedDecrement(&g_locks);
}

bool CanUnload() noexcept { return g_liveObjects == 0 && g_locks == 0; }

CWebApiSync::CWebApiSync() noexcept { ::InterlockedIncrement(&g_liveObjects); }

CWebApiSync::~CWebApiSync() { ::InterlockedDecrement(&g_liveObjects); }

HRESULT CWebApiSync::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(IQKWebApiSync)) {
        *object = static_cast<IQKWebApiSync*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG CWebApiSync::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&m_refCount)); }

ULONG CWebApiSync::Release() {
    const LONG count = ::InterlockedDecrement(&m_refCount);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
}

std::vector<MeetingEntry> CWebApiSync::LoadSource(const WebApiSettings::Settings& settings) {
    if (settings.meetingStore.empty()) return MakeDemoMeetings(LocalNow());
    return ReadStore(settings.meetingStore);
}

HRESULT CWebApiSync::StartSync(DATE, DATE, HWND) {
    try {
        // Fetching everything at once keeps the demo's statuses consistent
        // with the moment of the synchronisation.
        m_settings = WebApiSettings::Read();
        m_fetched = LoadSource(m_settings);
        m_running = true;
        m_status = WebApiSyncStatus::Running;
        m_startTick = ::GetTickCount64();
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

void CWebApiSync::SettleIfDue() {
    if (!m_running || ::GetTickCount64() - m_startTick < m_settings.runMilliseconds) return;
    m_running = false;
    m_status = m_settings.finalStatus;
    if (m_status == WebApiSyncStatus::Succeeded) m_synced = std::move(m_fetched);
    m_fetched.clear();
}

HRESULT CWebApiSync::GetSyncStatus(LONG* status) {
    if (!status) return E_POINTER;
    try {
        SettleIfDue();
        *status = m_status;
        return S_OK;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CWebApiSync::QueryMeetings(LONG listType, DATE rangeStart, DATE rangeEnd, BSTR* xml) {
    if (!xml) return E_POINTER;
    *xml = nullptr;
    if (listType != kListTypeDay) return E_INVALIDARG;
    try {
        SettleIfDue();
        const std::wstring document =
            m_synced ? BuildMeetingsDocument(*m_synced, rangeStart, rangeEnd)
                     : BuildMeetingsDocument(LoadSource(WebApiSettings::Read()), rangeStart, rangeEnd);
        *xml = ::SysAllocStringLen(document.data(), static_cast<UINT>(document.size()));
        return *xml ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

// The class object: creates one synchronisation object per request.
class CWebApiSyncFactory final : public IClassFactory {
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
        auto* sync = new (std::nothrow) CWebApiSync();
        if (!sync) return E_OUTOFMEMORY;
        const HRESULT hr = sync->QueryInterface(iid, object);
        sync->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        ServerLock(lock != FALSE);
        return S_OK;
    }

private:
    volatile LONG m_refCount = 1;
};

HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (classId != CLSID_QKWebApiSync) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) CWebApiSyncFactory();
    if (!factory) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}
}  // namespace WebApi
