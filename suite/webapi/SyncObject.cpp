#include "webapi/SyncObject.h"

#include "shared/SuiteFault.h"
#include "webapi/DemoDay.h"

namespace WebApi {
namespace {
bool Failing() noexcept { return SuiteFault::FailsEveryCall(CLSID_QKWebApiSync); }

DATE LocalNow() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    DATE value = 0.0;
    ::SystemTimeToVariantTime(&now, &value);
    return value;
}
}  // namespace

std::vector<MeetingEntry> CWebApiSync::LoadSource(const WebApiSettings::Settings& settings) {
    if (settings.meetingStore.empty()) return MakeDemoMeetings(LocalNow());
    return ReadStore(settings.meetingStore);
}

HRESULT CWebApiSync::StartSync(DATE, DATE, HWND) {
    if (Failing()) return E_FAIL;
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
    if (Failing()) return E_FAIL;
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
    if (Failing()) return E_FAIL;
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

}  // namespace WebApi
