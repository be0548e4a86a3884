#include "settingsui/SettingModule.h"

#include <msxml2.h>

#include <string>

#include "QkServiceInterfaces.h"
#include "ComHolders.h"
#include "MsxmlIds.h"
#include "shared/SuiteFault.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
HINSTANCE ThisInstance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// One text of the account document, empty when it cannot be read.
std::wstring AccountText(IXMLDOMDocument* document, const wchar_t* path) {
    Microsoft::WRL::ComPtr<IXMLDOMNode> node;
    Bstr text;
    if (FAILED(document->selectSingleNode(Bstr(path).get(), &node)) || !node ||
        FAILED(node->get_text(text.receive())))
        return {};
    return text.str();
}

// The signed-in account's site and user, from the settings service.
void ReadAccount(std::wstring& site, std::wstring& user) {
    Microsoft::WRL::ComPtr<IQKSettingsService> service;
    Bstr xml;
    if (FAILED(::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&service))) ||
        FAILED(service->GetAccountDocument(xml.receive())))
        return;
    Microsoft::WRL::ComPtr<IXMLDOMDocument> document;
    if (FAILED(::CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&document))))
        return;
    document->put_async(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(document->loadXML(xml.get(), &loaded)) || loaded != VARIANT_TRUE) return;
    site = AccountText(document.Get(), L"//Account/SiteName");
    user = AccountText(document.Get(), L"//Account/UserName");
}
}  // namespace

CSettingModule::~CSettingModule() {
    if (::IsWindow(m_window)) ::DestroyWindow(m_window);
}

HRESULT STDMETHODCALLTYPE CSettingModule::InitModule(IVelModuleHost* host, HWND) {
    if (SuiteFault::ForLibrary() == SuiteFault::kFailEveryCall) return E_FAIL;
    try {
        if (m_window) return S_OK;
        m_host = host;
        WNDCLASSEXW existing{sizeof(existing)};
        if (!::GetClassInfoExW(ThisInstance(), kWindowClass, &existing)) {
            WNDCLASSEXW wc{sizeof(wc)};
            wc.lpfnWndProc = &CSettingModule::WindowProc;
            wc.hInstance = ThisInstance();
            wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
            wc.lpszClassName = kWindowClass;
            if (!::RegisterClassExW(&wc)) return E_FAIL;
        }
        m_window = ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, L"Quillkit Meetings Settings",
                                     WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, 340, 160,
                                     nullptr, nullptr, ThisInstance(), this);
        if (!m_window) return E_FAIL;
        CreateControls();
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

void CSettingModule::CreateControls() {
    std::wstring site;
    std::wstring user;
    ReadAccount(site, user);
    const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
    const std::wstring lines[] = {L"Site: " + site, L"User: " + user};
    const int ids[] = {kSiteText, kUserText};
    for (int i = 0; i < 2; ++i) {
        HWND text = ::CreateWindowExW(0, L"STATIC", lines[i].c_str(), WS_CHILD | WS_VISIBLE, 12, 12 + i * 24, 300, 18,
                                      m_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids[i])), ThisInstance(),
                                      nullptr);
        ::SendMessageW(text, WM_SETFONT, font, FALSE);
    }
    HWND close = ::CreateWindowExW(0, L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 235,
                                   80, 75, 25, m_window, reinterpret_cast<HMENU>(IDCANCEL), ThisInstance(), nullptr);
    ::SendMessageW(close, WM_SETFONT, font, FALSE);
}

HRESULT STDMETHODCALLTYPE CSettingModule::ShowModule(BOOL show) {
    if (SuiteFault::ForLibrary() == SuiteFault::kFailEveryCall) return E_FAIL;
    if (!::IsWindow(m_window)) return E_FAIL;
    ::ShowWindow(m_window, show ? SW_SHOWNORMAL : SW_HIDE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSettingModule::UninitModule() {
    if (::IsWindow(m_window)) ::DestroyWindow(m_window);
    m_window = nullptr;
    m_host.Reset();
    return S_OK;
}

LRESULT CALLBACK CSettingModule::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<CSettingModule*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        // Closing ends the module: the host lets it go when it finds it closed.
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            ::DestroyWindow(window);
            return 0;
        }
        if (message == WM_NCDESTROY && self) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->m_window = nullptr;
        }
    } catch (...) {
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void CSettingModule::UnregisterWindowClass() noexcept { ::UnregisterClassW(kWindowClass, ThisInstance()); }
