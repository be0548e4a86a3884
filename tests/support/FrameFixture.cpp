#include "support/FrameFixture.h"

#include "ComHolders.h"
#include "ModuleState.h"
#include "UIToolkit.h"

using Microsoft::WRL::ComPtr;

namespace frametest {
namespace {
constexpr UINT kRecordedCodes[] = {VelEvent::CloseBubble, VelEvent::TrayTooltip, VelEvent::ShowDay,
                                   VelEvent::MainFrameHidden};
}  // namespace

HRESULT RecordingListener::HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) {
    Received event{code, first, second, third, {}, {}};
    if ((code == VelEvent::TrayTooltip || code == VelEvent::TrayBalloon) && first)
        event.text = reinterpret_cast<const wchar_t*>(first);
    if (code == VelEvent::TrayBalloon && second) event.title = reinterpret_cast<const wchar_t*>(second);
    received.push_back(std::move(event));
    return S_OK;
}

ComPtr<LoginModuleDouble> LoginModuleDouble::Create() { return AdoptReference(new LoginModuleDouble()); }

LoginModuleDouble::LoginModuleDouble()
    : m_window(::CreateWindowExW(0, L"STATIC", L"login", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr)) {}

LoginModuleDouble::~LoginModuleDouble() {
    if (::IsWindow(m_window)) ::DestroyWindow(m_window);
}

HRESULT LoginModuleDouble::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != __uuidof(IVelUIModule)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IVelUIModule*>(this);
    AddRef();
    return S_OK;
}

ULONG LoginModuleDouble::Release() {
    const LONG left = ::InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT LoginModuleDouble::ShowModule(BOOL show) {
    ::ShowWindow(m_window, show ? SW_SHOWNA : SW_HIDE);
    return S_OK;
}

HRESULT LoginModuleDouble::UninitModule() {
    ++uninitCalls;
    if (::IsWindow(m_window)) ::DestroyWindow(m_window);
    return S_OK;
}

void FrameTest::SetUp() {
    // The frame's window takes its meetings window from the resource library
    // and draws its pictures with GDI+, as the module starts them.
    if (!ModuleState::ResourceInstance()) {
        // Test programs run from the output folder or a folder of their own in it.
        static HMODULE resources = [] {
            for (const wchar_t* folder : {L"", L"..\\"}) {
                const std::wstring path = testsupport::BinFolder() + folder + L"qksjres.dll";
                if (HMODULE library = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) return library;
            }
            return HMODULE{};
        }();
        ModuleState::SetResourceInstance(resources);
        ownsResources = true;
    }
    ASSERT_TRUE(CUIToolkit::Initialize(ModuleState::ResourceInstance(), testsupport::BinFolder()));
    frame = std::make_unique<CMainFrame>();
    frame->SetApplication(host.app);
    ASSERT_TRUE(frame->CreateFrame(nullptr));
    for (UINT code : kRecordedCodes) host.app->Bus().Subscribe(code, &listener);
    login = LoginModuleDouble::Create();
    testsupport::PumpPending();
    TakeCommands();
}

void FrameTest::TearDown() {
    for (UINT code : kRecordedCodes) host.app->Bus().Unsubscribe(code, &listener);
    if (frame) frame->DestroyWindow();
    frame.reset();
    testsupport::PumpPending();
    CUIToolkit::Uninitialize();
    if (ownsResources) ModuleState::SetResourceInstance(nullptr);
}

void FrameTest::SignIn() {
    sign.Set();
    frame->SetLoginModule(login.Get(), {});
}

std::vector<WPARAM> FrameTest::TakeCommands() const {
    std::vector<WPARAM> commands;
    MSG msg;
    while (::PeekMessageW(&msg, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) commands.push_back(msg.wParam);
    return commands;
}

std::vector<Received> FrameTest::Events(UINT code) const {
    std::vector<Received> matching;
    for (const Received& event : listener.received)
        if (event.code == code) matching.push_back(event);
    return matching;
}
}  // namespace frametest
