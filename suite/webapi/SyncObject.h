#pragma once
// The web-API synchronisation object. A synchronisation runs for the time the
// settings give and then ends with the status they give; only a successful one
// replaces the meetings that queries answer from. Before the first successful
// synchronisation a query reads the source directly.
#include <windows.h>

#include <optional>
#include <vector>

#include "QkMeetingLibs.h"
#include "shared/ComServer.h"
#include "webapi/MeetingSource.h"
#include "webapi/WebApiSettings.h"

namespace WebApi {

// Status before any synchronisation was started.
inline constexpr LONG kStatusIdle = 0;
// The only list type the desktop client asks for.
inline constexpr LONG kListTypeDay = 2;

class CWebApiSync final : public CSingleInterfaceObject<IQKWebApiSync>, public CServerObject {
public:
    CWebApiSync() = default;


    // IQKWebApiSync
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE StartSync(DATE rangeStart, DATE rangeEnd, HWND owner) override;
    HRESULT STDMETHODCALLTYPE GetSyncStatus(LONG* status) override;
    HRESULT STDMETHODCALLTYPE QueryMeetings(LONG listType, DATE rangeStart, DATE rangeEnd, BSTR* xml) override;

private:
    static std::vector<MeetingEntry> LoadSource(const WebApiSettings::Settings& settings);
    // Ends a running synchronisation once its time is up.
    void SettleIfDue();

    bool m_running = false;
    LONG m_status = kStatusIdle;
    ULONGLONG m_startTick = 0;
    WebApiSettings::Settings m_settings;
    std::vector<MeetingEntry> m_fetched;
    std::optional<std::vector<MeetingEntry>> m_synced;
};
}  // namespace WebApi
