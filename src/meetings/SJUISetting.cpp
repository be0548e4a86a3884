#include "SJUISetting.h"

#include <utility>

#include "ComHolders.h"
#include "SiteUrl.h"
#include "Trace.h"
#include "MSDom.h"

namespace {
constexpr DWORD kClassContext = 0x17;  // in-process, handler, local and remote servers

CSJUISetting* g_setting = nullptr;

// The first argument of an event as a string, or null.
BSTR FirstStringArgument(const DISPPARAMS* parameters) {
    if (!parameters || parameters->cArgs < 1 || !parameters->rgvarg) return nullptr;
    // Arguments arrive in reverse order: the first is the last element.
    const VARIANT& argument = parameters->rgvarg[parameters->cArgs - 1];
    if (argument.vt == VT_BSTR) return argument.bstrVal;
    if (argument.vt == (VT_BSTR | VT_BYREF) && argument.pbstrVal) return *argument.pbstrVal;
    return nullptr;
}

void ReadText(IUnknown* root, const wchar_t* path, CStringEx& field, const char* failure) {
    const HRESULT hr = CMSDom::GetChildNodeValue(root, Bstr(path).get(), field);
    if (hr != S_OK) TraceText(2, failure);
}

template <typename Number>
void ReadNumber(IUnknown* root, const wchar_t* path, Number& field, Number fallback, const char* failure) {
    Number value = fallback;
    const HRESULT hr = CMSDom::GetChildNodeValue(root, Bstr(path).get(), value);
    field = value;
    if (hr != S_OK && failure) TraceText(2, failure);
}
}  // namespace

CSJUISetting* CSJUISetting::GetInstance() {
    if (!g_setting) g_setting = new CSJUISetting();
    return g_setting;
}

CSJUISetting* CSJUISetting::Existing() noexcept { return g_setting; }

void CSJUISetting::ReleaseInstance() {
    CSJUISetting* const setting = std::exchange(g_setting, nullptr);
    if (!setting) return;
    setting->Uninitlize();
    DeleteSink(setting);
}

CSJUISetting::~CSJUISetting() { Uninitlize(); }

BOOL CSJUISetting::Initialize() {
    CAutoFunTrace trace("CSJUISetting::Initialize");
    if (!m_service) {
        const HRESULT hr = ::CoCreateInstance(CLSID_QKSettingsService, nullptr, kClassContext,
                                              IID_PPV_ARGS(&m_service));
        if (FAILED(hr)) {
            const CVarAdapter message("Create qkService failed! hr=%u");
            const CVarAdapter code(reinterpret_cast<const void*>(static_cast<UINT_PTR>(static_cast<ULONG>(hr))));
            TraceMessage8({{nullptr, &message}, {"(void*)hr", &code}});
            return FALSE;
        }
        if (!Connect(m_service.Get(), &DIID_QKAccountEvents))
            TraceText(8, "CSJUISetting::Initialize: account changes of qkService cannot be followed");
        m_meetingSink = std::make_unique<CQKMeetingConnectPointSink>();
        // Without the meeting component only the pushed meeting changes are lost.
        if (FAILED(::CoCreateInstance(CLSID_QKMeetingComponent, nullptr, kClassContext,
                                      IID_PPV_ARGS(&m_meetingComponent))))
            TraceText(8, "CSJUISetting::Initialize: the meeting component cannot be created");
        else if (m_meetingSink && !m_meetingSink->Connect(m_meetingComponent.Get(), &DIID_QKMeetingEvents))
            TraceText(8, "CSJUISetting::Initialize: meeting changes cannot be followed");
    }
    return LoadAccount(nullptr);
}

void CSJUISetting::Uninitlize() {
    CAutoFunTrace trace("CSJUISetting::Uninitlize");
    m_unused2.Reset();
    m_accountDocument.Reset();
    m_accountRoot.Reset();
    if (m_service) {
        Disconnect();
        m_service.Reset();
    }
    if (m_meetingComponent) {
        if (m_meetingSink) m_meetingSink->Disconnect();
        m_meetingComponent.Reset();
    }
    DeleteSink(m_meetingSink.release());
}

BOOL CSJUISetting::LoadAccount(BSTR accountXml) {
    if (!m_service) return FALSE;
    Bstr fetched;
    if (!accountXml) {
        m_service->GetAccountDocument(fetched.receive());
        accountXml = fetched.get();
    }
    m_accountDocument.Reset();
    m_accountRoot.Reset();
    CMSDom::CreateFromString(accountXml, &m_accountDocument);
    if (!m_accountDocument) return FALSE;
    CMSDom::GetRootNode(m_accountDocument.Get(), &m_accountRoot);
    if (!m_accountRoot) return FALSE;
    ReadAccountFields();
    return TRUE;
}

void CSJUISetting::ReadAccountFields() {
    IUnknown* root = m_accountRoot.Get();
    ReadText(root, L"//Account//SiteName", m_siteName, "Get Site Name failed in the SJUISetting");
    ReadText(root, L"//Account//UserName", m_userName, "Get User Name failed in the SJUISetting");
    ReadText(root, L"//Account//Password", m_password, "Get User Password failed in the SJUISetting");
    ReadNumber<LONG>(root, L"//Account//Remember", m_remember, 1, "Get Remember failed in the SJUISetting");
    ReadText(root, L"//Account//Z11SiteName", m_z11SiteName, "Get Z11 Site Name failed in the SJUISetting");
    ReadNumber<LONG>(root, L"//Account//DeskreachEnable", m_deskreachEnabled, 0,
                     "Get DR Enabled flag failed in the SJUISetting");
    ReadNumber<LONG>(root, L"//Account//SnapjoinEnable", m_snapjoinEnabled, 0,
                     "Get SJ Enabled flag failed in the SJUISetting");
    ReadNumber<ULONG>(root, L"//Account//SiteType", m_siteType, 0, nullptr);
}

BOOL CSJUISetting::GetAccount(CStringEx& site, CStringEx& user, CStringEx& password, LONG* remember) const {
    site = m_siteName;
    user = m_userName;
    password = m_password;
    if (remember) *remember = m_remember;
    return TRUE;
}

BOOL CSJUISetting::GetSiteName(CStringEx& site) const {
    site = m_siteName;
    return TRUE;
}

BOOL CSJUISetting::IsOutlookToolEnabled() const {
    if (!m_accountRoot) return FALSE;
    BOOL enabled = FALSE;
    CMSDom::GetChildNodeValue(m_accountRoot.Get(), Bstr(L"//Tools/Outlook").get(), enabled);
    return enabled;
}

BOOL CSJUISetting::GetMeetingsPageUrl(CStringEx& url) const {
    if (m_z11SiteName.IsEmpty()) return TRUE;
    CStringEx address = m_z11SiteName;
    MakeHttpsUrl(address);
    url.Format(L"%s/collabs/#/meetings", address.c_str());
    return TRUE;
}

HRESULT STDMETHODCALLTYPE CSJUISetting::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*,
                                               EXCEPINFO*, UINT*) {
    if (id != DISPID_QKAccountChanged) return S_OK;
    try {
        if (!parameters || parameters->cArgs != 1) return E_INVALIDARG;
        BSTR account = FirstStringArgument(parameters);
        if (!account) return E_INVALIDARG;
        LoadAccount(account);
        if (ISettingsListener* listener = Listener()) listener->OnAccountSettingsChanged(account);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CQKMeetingConnectPointSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                                             VARIANT*, EXCEPINFO*, UINT*) {
    if (id != DISPID_QKMeetingsChanged) return S_OK;
    try {
        if (ISettingsListener* listener = CSJUISetting::Listener())
            listener->OnMeetingChanged(FirstStringArgument(parameters));
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
