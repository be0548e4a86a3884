#include "SJUIModule.h"

#include <new>

#include "ComHolders.h"
#include "FontPool.h"
#include "ModuleState.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "MainFrame.h"
#include "ModuleRelease.h"
#include "SJUISetting.h"
#include "UIToolkit.h"

namespace {
const wchar_t kResourceLibrary[] = L"qksjres.dll";

// Serialises start-ups of the session's desktop clients across processes.
class StartUpLock {
public:
    StartUpLock() : m_mutex(::CreateMutexW(nullptr, FALSE, CMainFrame::kWindowClass)) {
        if (m_mutex) ::WaitForSingleObject(m_mutex.get(), INFINITE);
    }
    ~StartUpLock() {
        if (m_mutex) ::ReleaseMutex(m_mutex.get());
    }
    StartUpLock(const StartUpLock&) = delete;
    StartUpLock& operator=(const StartUpLock&) = delete;

private:
    UniqueKernelHandle m_mutex;
};
}  // namespace

CSJUIModule::CSJUIModule(IUnknown* outer) : CUnknown(outer) {}

CSJUIModule::~CSJUIModule() = default;

HRESULT STDMETHODCALLTYPE CSJUIModule::NondelegatingQueryInterface(REFIID iid, void** object) {
    if (!object) return E_INVALIDARG;
    if (iid == __uuidof(IVelUIModule)) return FinishQI(static_cast<IVelUIModule*>(this), object);
    return CUnknown::NondelegatingQueryInterface(iid, object);
}

HRESULT STDMETHODCALLTYPE CSJUIModule::InitModule(IVelModuleHost* host, HWND) {
    CAutoFunTrace trace("CSJUIModule::InitModule");
    if (!host) return S_FALSE;
    try {
        StartUpLock lock;
        return StartUp(host);
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT CSJUIModule::StartUp(IVelModuleHost* host) {
    Bstr ignoredValue;
    const bool close = SUCCEEDED(host->GetParameter(Bstr(L"close").get(), ignoredValue.receive()));

    const HWND running = ::FindWindowW(CMainFrame::kWindowClass, nullptr);
    if (running && ::IsWindow(running)) {
        TraceText(8, "BringWindowToTop for Previous instance.");
        ForwardToRunningInstance(running, close, host);
        return E_FAIL;
    }
    if (close) return E_FAIL;  // nothing to close

    CSJUISetting::GetInstance()->Initialize();
    m_settingsStarted = true;
    m_host = host;

    const std::wstring folder = ModuleState::Folder();
    m_resources.reset(::LoadLibraryW((folder + kResourceLibrary).c_str()));
    if (!m_resources) {
        TraceText(8, "CSJUIModule::InitModule: cannot load qksjres.dll");
        return E_FAIL;
    }
    const HINSTANCE resources = m_resources.get();
    ModuleState::SetResourceInstance(resources);

    CUIToolkit::Initialize(resources, folder);

    m_mainFrame.reset(new (std::nothrow) CMainFrame());
    if (!m_mainFrame) return E_FAIL;
    m_mainFrame->SetApplication(host);
    // A frame that could not be created shows later as IsModuleClosed.
    m_mainFrame->CreateFrame(resources);
    return S_OK;
}

void CSJUIModule::ForwardToRunningInstance(HWND running, bool close, IVelModuleHost* host) {
    if (close) {
        ::PostMessageW(running, WM_CLOSE, kExitMarker, 0);
        return;
    }
    Bstr commandLine;
    host->GetCommandLine(commandLine.receive());
    COPYDATASTRUCT record{};
    record.dwData = kCopyDataTag;
    if (!commandLine.empty()) {
        record.cbData = commandLine.length() * sizeof(wchar_t) + sizeof(wchar_t);
        record.lpData = commandLine.get();
    }
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record), SMTO_ABORTIFHUNG,
                          kForwardTimeoutMs, &ignored);
}

BOOL STDMETHODCALLTYPE CSJUIModule::IsModuleClosed() {
    return !m_mainFrame || !m_mainFrame->IsWindow();
}

HWND STDMETHODCALLTYPE CSJUIModule::GetModuleWindow() { return m_mainFrame ? m_mainFrame->m_hWnd : nullptr; }

HRESULT STDMETHODCALLTYPE CSJUIModule::ShowModule(BOOL) { return S_OK; }

HRESULT STDMETHODCALLTYPE CSJUIModule::UninitModule() {
    bool settingsStopped = false;
    {
        CAutoFunTrace trace("CSJUIModule::UninitModule");
        try {
            // The frame goes first, object and all: what it owns (buttons,
            // items) holds GDI+ images, which must go while GDI+ still runs.
            if (m_mainFrame && m_mainFrame->IsWindow()) m_mainFrame->DestroyWindow();
            if (m_mainFrame) {
                m_mainFrame.reset();
                CMainFrame::UnregisterFrameClass();
            }
            // Only what this object's own start-up created is torn down: a
            // refused second start in the same process must not take the
            // running instance's resources with it.
            if (m_resources) {
                if (ModuleState::ResourceInstance() == m_resources.get()) ModuleState::SetResourceInstance(nullptr);
                m_resources.reset();
                CUIToolkit::Uninitialize();
                if (CFontPool::Exists()) CFontPool::Instance().Release();
            }
            if (m_settingsStarted) {
                CSJUISetting::GetInstance()->Uninitlize();
                m_settingsStarted = false;
                settingsStopped = true;
            }
            m_host.Reset();
        } catch (...) {
            // Tear-down continues as far as it got; the host ends either way.
        }
    }
    // The desktop client that started the process-wide objects has stopped:
    // they go now, after its last trace line, rather than at unload.
    if (settingsStopped) ReleaseProcessWideState();
    return S_OK;
}
