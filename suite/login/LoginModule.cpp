#include "login/LoginModule.h"

#include <initializer_list>

#include "QkServiceInterfaces.h"
#include "ComHolders.h"
#include "shared/XmlText.h"
#include "shared/SuiteFault.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
HINSTANCE ThisInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// Sign-out, account switch and the two sign-in-again requests end the session.
constexpr UINT kSessionEndEvents[] = {VelEvent::SignInError, VelEvent::SignInAgain, VelEvent::SignedOut,
                                      VelEvent::AccountSwitch};
constexpr UINT kSubscribedEvents[] = {VelEvent::SignInError, VelEvent::SignInAgain, VelEvent::SignedOut,
                                      VelEvent::AccountSwitch, VelEvent::MessagingAccountAgain};

// The same shape as the settings service's own accounts; the features are
// those every account of this suite has.
std::wstring AccountDocument(const std::wstring& site, const std::wstring& user, const std::wstring& password) {
    return L"<QuillkitSettings><Account>"
           L"<SiteName>" + EscapeXml(site) + L"</SiteName>"
           L"<UserName>" + EscapeXml(user) + L"</UserName>"
           L"<Password>" + EscapeXml(password) + L"</Password>"
           L"<Remember>1</Remember>"
           L"<DeskreachEnable>1</DeskreachEnable>"
           L"<SnapjoinEnable>1</SnapjoinEnable>"
           L"<SiteType>1</SiteType>"
           L"</Account><Tools><Outlook>1</Outlook></Tools></QuillkitSettings>";
}

// The text of the first <name> element of a small, flat document.
std::wstring ElementText(const std::wstring& xml, const wchar_t* name) {
    const std::wstring open = std::wstring(L"<") + name + L">";
    const std::wstring close = std::wstring(L"</") + name + L">";
    const size_t start = xml.find(open);
    if (start == std::wstring::npos) return {};
    const size_t from = start + open.size();
    const size_t end = xml.find(close, from);
    return end == std::wstring::npos ? std::wstring() : xml.substr(from, end - from);
}

bool AutoSignInAllowed() {
    DWORD value = 1;
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, CLoginModule::kSettingsKey, CLoginModule::kAutoSignInValue,
                       RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return true;
    return value != 0;
}

// The account the settings service holds, when it asks to be remembered and
// has everything a sign-in needs.
bool RememberedAccount() {
    Microsoft::WRL::ComPtr<IQKSettingsService> service;
    if (FAILED(::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&service))))
        return false;
    Bstr document;
    if (FAILED(service->GetAccountDocument(document.receive())) || document.empty()) return false;
    const std::wstring xml = document.c_str();
    return ElementText(xml, L"Remember") == L"1" && !ElementText(xml, L"SiteName").empty() &&
           !ElementText(xml, L"UserName").empty() && !ElementText(xml, L"Password").empty();
}

bool RegisterWindowClass() {
    WNDCLASSEXW existing{sizeof(existing)};
    if (::GetClassInfoExW(ThisInstance(), CLoginModule::kWindowClass, &existing)) return true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ThisInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = CLoginModule::kWindowClass;
    return ::RegisterClassExW(&wc) != 0;
}
}  // namespace

CLoginModule::~CLoginModule() {
    if (::IsWindow(m_window)) ::DestroyWindow(m_window);
}

Microsoft::WRL::ComPtr<IVelEventBus> CLoginModule::EventBus() const {
    Microsoft::WRL::ComPtr<IVelEventService> service;
    Microsoft::WRL::ComPtr<IVelEventBus> bus;
    if (m_host && SUCCEEDED(m_host->QueryInterface(__uuidof(IVelEventService),
                                                   reinterpret_cast<void**>(service.GetAddressOf()))) &&
        service)
        service->GetEventBus(bus.GetAddressOf());
    return bus;
}

HRESULT STDMETHODCALLTYPE CLoginModule::InitModule(IVelModuleHost* host, HWND owner) {
    if (SuiteFault::ForLibrary() == SuiteFault::kFailEveryCall) return E_FAIL;
    try {
        if (m_window) return S_OK;
        m_host = host;
        m_owner = owner;
        m_signEvent.reset(::CreateEventW(nullptr, TRUE, FALSE, kSignEventName));
        if (!RegisterWindowClass()) return E_FAIL;
        m_window = ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, L"Sign in to Quillkit Meetings",
                                     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 340, 210,
                                     nullptr, nullptr, ThisInstance(), nullptr);
        if (!m_window) return E_FAIL;
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ::SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CLoginModule::WindowProc));
        CreateControls();
        if (auto bus = EventBus()) {
            for (UINT code : kSubscribedEvents) bus->Subscribe(code, this);
            m_subscribed = true;
        }
        // Both posted, so that they follow the caller's own start-up: whoever
        // uses the account is created after this module. A sign-in hands the
        // messaging account on by itself.
        if (AutoSignInAllowed() && RememberedAccount())
            ::PostMessageW(m_window, kAutoSignInMessage, 0, 0);
        else
            ::PostMessageW(m_window, kDeliverMessagingAccount, 0, 0);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

void CLoginModule::CreateControls() {
    struct Field {
        const wchar_t* label;
        int id;
        DWORD style;
    };
    const Field fields[] = {{L"Site:", kSiteEdit, 0}, {L"User:", kUserEdit, 0}, {L"Password:", kPasswordEdit, ES_PASSWORD}};
    const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
    int top = 12;
    for (const Field& field : fields) {
        HWND label = ::CreateWindowExW(0, L"STATIC", field.label, WS_CHILD | WS_VISIBLE, 12, top + 3, 70, 18, m_window,
                                       nullptr, ThisInstance(), nullptr);
        HWND edit = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | field.style, 90, top, 220,
                                      22, m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(field.id)),
                                      ThisInstance(), nullptr);
        ::SendMessageW(label, WM_SETFONT, font, FALSE);
        ::SendMessageW(edit, WM_SETFONT, font, FALSE);
        top += 30;
    }
    HWND status = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 12, top, 300, 18, m_window,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusText)), ThisInstance(), nullptr);
    HWND signIn = ::CreateWindowExW(0, L"BUTTON", L"Sign in", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                    150, top + 26, 75, 25, m_window, reinterpret_cast<HMENU>(IDOK), ThisInstance(),
                                    nullptr);
    HWND cancel = ::CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 235, top + 26, 75,
                                    25, m_window, reinterpret_cast<HMENU>(IDCANCEL), ThisInstance(), nullptr);
    for (HWND control : {status, signIn, cancel}) ::SendMessageW(control, WM_SETFONT, font, FALSE);
}

BOOL STDMETHODCALLTYPE CLoginModule::IsModuleClosed() { return !m_window || !::IsWindow(m_window); }

HRESULT STDMETHODCALLTYPE CLoginModule::ShowModule(BOOL show) {
    if (SuiteFault::ForLibrary() == SuiteFault::kFailEveryCall) return E_FAIL;
    if (!::IsWindow(m_window)) return E_FAIL;
    ::ShowWindow(m_window, show ? SW_SHOWNORMAL : SW_HIDE);
    if (show) ::SetForegroundWindow(m_window);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CLoginModule::UninitModule() {
    try {
        if (m_subscribed) {
            if (auto bus = EventBus())
                for (UINT code : kSubscribedEvents) bus->Unsubscribe(code, this);
            m_subscribed = false;
        }
        if (::IsWindow(m_window)) ::DestroyWindow(m_window);
        m_window = nullptr;
        m_host.Reset();
    } catch (...) {
    }
    return S_OK;
}

HRESULT CLoginModule::HandleEvent(UINT code, INT_PTR, INT_PTR, INT_PTR) {
    for (UINT ending : kSessionEndEvents)
        if (code == ending && m_signEvent) ::ResetEvent(m_signEvent.get());
    // Answered later, as the messaging service would: the asker is still inside its Fire.
    if (code == VelEvent::MessagingAccountAgain && m_window) ::PostMessageW(m_window, kDeliverMessagingAccount, 1, 0);
    return S_OK;
}

void CLoginModule::DeliverMessagingAccount(bool evenWithoutAccount) {
    Microsoft::WRL::ComPtr<IQKSuiteState> state;
    if (FAILED(::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state))))
        return;
    Bstr document;
    const HRESULT hr = state->GetMessagingAccount(document.receive());
    if (FAILED(hr) || !document.get() || (hr != S_OK && !evenWithoutAccount)) return;
    if (auto bus = EventBus()) bus->Fire(VelEvent::MessagingIdentity, reinterpret_cast<INT_PTR>(document.get()), 0, 0);
}

std::wstring CLoginModule::ControlText(int id) const {
    const HWND control = ::GetDlgItem(m_window, id);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void CLoginModule::ShowStatus(const wchar_t* text) const { ::SetDlgItemTextW(m_window, kStatusText, text); }

void CLoginModule::OnSignIn() {
    const std::wstring site = ControlText(kSiteEdit);
    const std::wstring user = ControlText(kUserEdit);
    const std::wstring password = ControlText(kPasswordEdit);
    if (site.empty() || user.empty() || password.empty()) {
        ShowStatus(L"Enter your site, user name and password.");
        return;
    }
    Microsoft::WRL::ComPtr<IQKSuiteState> state;
    if (FAILED(::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state))) ||
        FAILED(state->SetAccountDocument(Bstr(AccountDocument(site, user, password)).get()))) {
        ShowStatus(L"Your account could not be stored.");
        return;
    }
    ShowStatus(L"");
    CompleteSignIn();
}

void CLoginModule::OnAutoSignIn() {
    if (!RememberedAccount()) return;
    CompleteSignIn();
}

void CLoginModule::CompleteSignIn() {
    if (m_signEvent) ::SetEvent(m_signEvent.get());
    ::ShowWindow(m_window, SW_HIDE);
    // The frame takes the place it already has.
    RECT place{};
    const bool havePlace = m_owner && ::GetWindowRect(m_owner, &place);
    if (auto bus = EventBus())
        bus->Fire(VelEvent::SignInSynchronized, 1, 0, havePlace ? reinterpret_cast<INT_PTR>(&place) : 0);
    DeliverMessagingAccount(false);
}

LRESULT CALLBACK CLoginModule::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        auto* self = reinterpret_cast<CLoginModule*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self) {
            switch (message) {
            case kDeliverMessagingAccount:
                self->DeliverMessagingAccount(wParam != 0);
                return 0;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK) {
                    self->OnSignIn();
                    return 0;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    ::ShowWindow(window, SW_HIDE);
                    return 0;
                }
                break;
            case kAutoSignInMessage:
                self->OnAutoSignIn();
                return 0;
            case WM_CLOSE:
                // The frame keeps the module loaded; closing only hides it.
                ::ShowWindow(window, SW_HIDE);
                return 0;
            case WM_NCDESTROY:
                ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
                self->m_window = nullptr;
                break;
            default:
                break;
            }
        }
    } catch (...) {
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void CLoginModule::UnregisterWindowClass() noexcept { ::UnregisterClassW(kWindowClass, ThisInstance()); }
