#include "IPCSrvUIModule.h"

#include <shellapi.h>

#include "FontPool.h"
#include "ModuleState.h"
#include "Trace.h"
#include "HelpPageChooser.h"

namespace {
void OpenPage(const CStringEx& address) {
    const CVarAdapter text(address.c_str());
    TraceMessage4({{"OpenPage", &text}});
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
}  // namespace

CQKIPCSrvUIModule::CQKIPCSrvUIModule(IUnknown* outer) : CUnknown(outer) {}

CQKIPCSrvUIModule::~CQKIPCSrvUIModule() = default;

HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::NondelegatingQueryInterface(REFIID iid, void** object) {
    if (!object) return E_INVALIDARG;
    if (iid == __uuidof(IVelUIModule)) return FinishQI(static_cast<IVelUIModule*>(this), object);
    return CUnknown::NondelegatingQueryInterface(iid, object);
}

HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::InitModule(IVelModuleHost* host, HWND) {
    CAutoFunTrace trace("CQKIPCSrvUIModule::InitModule");
    try {
        m_host = host;
        if (!host) return S_OK;
        return StartUp();
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CQKIPCSrvUIModule::StartUp() {
    m_resources.reset(::LoadLibraryW((ModuleState::Folder() + kResourceLibrary).c_str()));
    if (!m_resources) {
        TraceText(8, "CQKIPCSrvUIModule::InitModule: cannot load qkres.dll");
        return E_FAIL;
    }
    ModuleState::SetResourceInstance(m_resources.get());

    WNDCLASSEXW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassOnce(wc)) {
        TraceText(8, "CQKIPCSrvUIModule::InitModule: RegisterClassEx failed");
        return E_FAIL;
    }

    m_hiddenWindow = CreateEx(0, kWindowClass, kWindowTitle, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, nullptr, nullptr);
    return m_hiddenWindow ? S_OK : E_FAIL;
}

LRESULT CQKIPCSrvUIModule::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    ::DestroyWindow(m_hWnd);
    return 0;
}

LRESULT CQKIPCSrvUIModule::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_host) {
        handled = FALSE;
        return 0;
    }
    try {
        return ChooseAndOpenHelp(m_hWnd);
    } catch (...) {
        // A creation that went wrong must not leave a window that never closes.
        return -1;
    }
}

LRESULT CQKIPCSrvUIModule::ChooseAndOpenHelp(HWND hwnd) {
    CAutoFunTrace trace("CQKIPCSrvUIModule::OnCreate");
    m_windowSeen = hwnd;
    const HelpChoice choice = CHelpPageChooser(m_resources.get()).Choose(m_host.Get());
    if (choice.customLinkMissing) s_exitCode = HelpPages::kCustomLinkMissing;
    if (!choice.target.IsEmpty()) OpenPage(choice.target);
    if (!choice.proceed) return -1;
    ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CQKIPCSrvUIModule::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
    if (CFontPool::Exists()) CFontPool::Instance().Release();
    if (m_host) m_host->CloseHost(s_exitCode);
    return 0;
}

BOOL STDMETHODCALLTYPE CQKIPCSrvUIModule::IsModuleClosed() {
    return m_hiddenWindow == nullptr || !::IsWindow(m_hiddenWindow);
}

HWND STDMETHODCALLTYPE CQKIPCSrvUIModule::GetModuleWindow() { return m_hiddenWindow; }

HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::ShowModule(BOOL) { return m_hiddenWindow ? S_OK : E_FAIL; }

HRESULT STDMETHODCALLTYPE CQKIPCSrvUIModule::UninitModule() {
    CAutoFunTrace trace("CQKIPCSrvUIModule::UninitModule");
    try {
        if (m_hiddenWindow && ::IsWindow(m_hiddenWindow)) ::DestroyWindow(m_hiddenWindow);
        m_hiddenWindow = nullptr;
        m_windowSeen = nullptr;
        if (m_resources) {
            // Only the slot this object filled is cleared.
            if (ModuleState::ResourceInstance() == m_resources.get()) ModuleState::SetResourceInstance(nullptr);
            m_resources.reset();
        }
        // The help module starts no UI toolkit, whose end would take the class away.
        UnregisterWindowClass(kWindowClass);
        m_host.Reset();
    } catch (...) {
        // The host ends either way.
    }
    return S_OK;
}
