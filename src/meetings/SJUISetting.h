#pragma once
// The module's process-wide view of the signed-in account, read from the
// suite's settings service and kept current by its change events.
#include <windows.h>
#include <wrl/client.h>

#include <memory>

#include "QkServiceInterfaces.h"
#include "StringEx.h"
#include "ConnectPointSink.h"

// Who hears of the settings service's and the meeting component's changes
// (the main frame, registered while it exists).
class ISettingsListener {
public:
    // The account document pushed by the settings service, after the
    // settings have read it.
    virtual void OnAccountSettingsChanged(const wchar_t* accountXml) = 0;
    // The running meetings pushed by the meeting component.
    virtual void OnMeetingChanged(const wchar_t* meetingsXml) = 0;

protected:
    ~ISettingsListener() = default;
};

// Hands the running meetings pushed by the meeting component to the listener.
class CQKMeetingConnectPointSink : public CConnectPointSink<CQKMeetingConnectPointSink> {
public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;
};

class CSJUISetting : public CConnectPointSink<CSJUISetting> {
public:
    // The process-wide object, created on first call.
    static CSJUISetting* GetInstance();
    // The process-wide object when one exists, without creating it.
    static CSJUISetting* Existing() noexcept;
    // Uninitialises and deletes the process-wide object when the module stops
    // (never under the loader lock); one its source still holds is kept.
    static void ReleaseInstance();
    // The one listener of the process; null removes it.
    static void SetListener(ISettingsListener* listener) noexcept { s_listener = listener; }
    [[nodiscard]] static ISettingsListener* Listener() noexcept { return s_listener; }

    BOOL Initialize();
    void Uninitlize();
    // Null asks the settings service for the document.
    BOOL LoadAccount(BSTR accountXml);

    BOOL GetAccount(CStringEx& site, CStringEx& user, CStringEx& password, LONG* remember) const;
    BOOL GetSiteName(CStringEx& site) const;
    [[nodiscard]] ULONG GetSiteType() const noexcept { return m_siteType; }
    [[nodiscard]] BOOL IsSiteType2() const noexcept { return m_siteType == 2; }
    [[nodiscard]] BOOL IsZ11SiteNameEmpty() const noexcept { return m_z11SiteName.IsEmpty(); }
    [[nodiscard]] LONG IsDeskreachEnabled() const noexcept { return m_deskreachEnabled; }
    [[nodiscard]] LONG IsSnapjoinEnabled() const noexcept { return m_snapjoinEnabled; }
    BOOL IsOutlookToolEnabled() const;
    BOOL GetMeetingsPageUrl(CStringEx& url) const;

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override;

    ~CSJUISetting() override;

private:
    CSJUISetting() = default;
    static inline ISettingsListener* s_listener = nullptr;
    void ReadAccountFields();

    Microsoft::WRL::ComPtr<IUnknown> m_accountDocument;
    Microsoft::WRL::ComPtr<IUnknown> m_accountRoot;
    Microsoft::WRL::ComPtr<IUnknown> m_unused1;  // kept empty in this module
    Microsoft::WRL::ComPtr<IUnknown> m_unused2;
    Microsoft::WRL::ComPtr<IQKSettingsService> m_service;
    Microsoft::WRL::ComPtr<IQKMeetingComponent> m_meetingComponent;
    CStringEx m_siteName;
    CStringEx m_userName;
    CStringEx m_password;
    CStringEx m_z11SiteName;
    LONG m_remember = 0;
    LONG m_deskreachEnabled = 0;
    LONG m_snapjoinEnabled = 0;
    std::unique_ptr<CQKMeetingConnectPointSink> m_meetingSink;
    ULONG m_siteType = 3;
};
