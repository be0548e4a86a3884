// The desktop-client module started and stopped by a host in this process.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/ModuleLibrary.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
bool ResourceLibraryLoaded() { return ::GetModuleHandleW(L"qksjres.dll") != nullptr; }

// A host that only counts its references and reports each release.
class CountingHost final : public IVelModuleHost {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(IVelModuleHost)) return E_NOINTERFACE;
        *object = static_cast<IVelModuleHost*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        --refs;
        if (onRelease) onRelease(refs);
        return refs;
    }
    HRESULT STDMETHODCALLTYPE GetCommandLine(BSTR* commandLine) override {
        *commandLine = ::SysAllocString(L"qkhost.exe");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetParameter(BSTR, BSTR*) override { return E_FAIL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddMessageFilter(CMessageFilter*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMessageFilter(CMessageFilter*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddIdleHandler(CIdleHandler*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveIdleHandler(CIdleHandler*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved11() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CloseHost(LONG) override { return S_OK; }

    ULONG refs = 1;
    std::function<void(ULONG)> onRelease;
};

BOOL DragFullWindows() {
    BOOL value = FALSE;
    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &value, 0);
    return value;
}

class Lifecycle : public ::testing::Test {
protected:
    ModuleLibrary library{testsupport::BinFolder() + L"qkSJUI.dll"};
    ComPtr<IVelUIModule> module;

    void SetUp() override {
        ASSERT_TRUE(library.Loaded());
        module = library.Create(kDesktopClientClass);
        ASSERT_TRUE(module);
    }
    void TearDown() override {
        if (module) module->UninitModule();
        module.Reset();
        testsupport::PumpPending();
    }
};

TEST_F(Lifecycle, InitialisationCreatesTheHiddenFrame) {
    TestHost host(L"\"C:\\suite\\qkhost.exe\" /AutoRun /OpenSetting=1");
    ASSERT_EQ(S_OK, module->InitModule(host.app, reinterpret_cast<HWND>(0x1234)));
    EXPECT_FALSE(module->IsModuleClosed());
    const HWND frame = module->GetModuleWindow();
    ASSERT_TRUE(::IsWindow(frame));
    EXPECT_EQ(frame, ::FindWindowW(kFrameClass, nullptr));
    EXPECT_FALSE(::IsWindowVisible(frame));
    EXPECT_EQ(nullptr, ::GetParent(frame));
    EXPECT_TRUE(ResourceLibraryLoaded());

    // The frame joins the host's loop and keeps its own reference to the host.
    EXPECT_EQ(1u, host.app->MessageFilterCount());
    EXPECT_EQ(1u, host.app->IdleHandlerCount());
    EXPECT_GE(host.app->ReferenceCount(), 2u);

    // A second start in the same session finds the first frame, and its end
    // leaves the running instance alone.
    ComPtr<IVelUIModule> second = library.Create(kDesktopClientClass);
    TestHost secondHost;
    EXPECT_EQ(E_FAIL, second->InitModule(secondHost.app, nullptr));
    EXPECT_TRUE(second->IsModuleClosed());
    EXPECT_EQ(1u, secondHost.app->ReferenceCount()) << "a refused start keeps no host reference";
    EXPECT_EQ(S_OK, second->UninitModule());
    EXPECT_TRUE(ResourceLibraryLoaded());
    EXPECT_TRUE(::IsWindow(frame));

    EXPECT_EQ(S_OK, module->UninitModule());
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_TRUE(module->IsModuleClosed());
    EXPECT_EQ(nullptr, module->GetModuleWindow());
    EXPECT_FALSE(ResourceLibraryLoaded());
    EXPECT_EQ(0u, host.app->MessageFilterCount());
    EXPECT_EQ(0u, host.app->IdleHandlerCount());
    EXPECT_EQ(1u, host.app->ReferenceCount());
}

TEST_F(Lifecycle, DestroyedFrameEndsTheLoopWithExitCodeOne) {
    TestHost host;
    ASSERT_EQ(S_OK, module->InitModule(host.app, nullptr));
    const HWND frame = module->GetModuleWindow();
    ::DestroyWindow(frame);
    EXPECT_TRUE(module->IsModuleClosed());
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(1u, msg.wParam);
    EXPECT_EQ(S_OK, module->UninitModule());
    EXPECT_FALSE(ResourceLibraryLoaded());
}

TEST_F(Lifecycle, CloseRequestWithNothingRunningCreatesNothing) {
    TestHost host(L"qkhost.exe", {{L"Close", L""}});
    EXPECT_EQ(E_FAIL, module->InitModule(host.app, nullptr));
    EXPECT_TRUE(module->IsModuleClosed());
    EXPECT_EQ(nullptr, ::FindWindowW(kFrameClass, nullptr));
    EXPECT_FALSE(ResourceLibraryLoaded());
}

// A stand-in for a desktop client that already runs: a window of the frame's
// class that records the command lines a starting instance sends it.
class RunningInstance {
public:
    RunningInstance() {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = &RunningInstance::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = kFrameClass;
        ::RegisterClassExW(&wc);
        m_window = ::CreateWindowExW(0, kFrameClass, L"running", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                     wc.hInstance, nullptr);
        ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RunningInstance() {
        ::DestroyWindow(m_window);
        ::UnregisterClassW(kFrameClass, ::GetModuleHandleW(nullptr));
    }
    RunningInstance(const RunningInstance&) = delete;
    RunningInstance& operator=(const RunningInstance&) = delete;

    struct CopyData {
        ULONG_PTR tag;
        DWORD bytes;
        bool nullData;
        std::wstring text;
    };
    std::vector<CopyData> copies;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RunningInstance*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_COPYDATA) {
            const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const auto* text = static_cast<const wchar_t*>(record->lpData);
            self->copies.push_back({record->dwData, record->cbData, text == nullptr,
                                    text ? std::wstring(text, record->cbData / sizeof(wchar_t)) : std::wstring()});
            return TRUE;
        }
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    HWND m_window;
};

TEST_F(Lifecycle, SecondStartHandsOverToTheRunningInstance) {
    RunningInstance running;
    const std::wstring commandLine = L"\"C:\\suite\\qkhost.exe\" /OpenSetting";
    for (const std::wstring& line : {commandLine, std::wstring()}) {
        ComPtr<IVelUIModule> starting = library.Create(kDesktopClientClass);
        TestHost host(line);
        EXPECT_EQ(E_FAIL, starting->InitModule(host.app, nullptr));
        EXPECT_TRUE(starting->IsModuleClosed());
    }
    ASSERT_EQ(2u, running.copies.size());
    EXPECT_EQ(0xFFFFFFFFu, running.copies[0].tag);
    EXPECT_EQ(commandLine.size() * 2 + 2, running.copies[0].bytes);
    EXPECT_EQ(commandLine + L'\0', running.copies[0].text);
    // An empty command line goes as an empty record.
    EXPECT_EQ(0xFFFFFFFFu, running.copies[1].tag);
    EXPECT_EQ(0u, running.copies[1].bytes);
    EXPECT_TRUE(running.copies[1].nullData);
    EXPECT_FALSE(ResourceLibraryLoaded());
    // A close request (the host's "close" parameter) is handed over too: faults_neighbours.
}
// What the frame owns draws with the toolkit's GDI+, so the frame object must
// be gone before the toolkit stops. Seen from outside: the frame's reference
// to the host goes while the toolkit has not yet put back the drag setting it
// found at its start.
TEST_F(Lifecycle, TheFrameIsGoneBeforeTheToolkitStops) {
    const BOOL original = DragFullWindows();
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    CountingHost host;
    ASSERT_EQ(S_OK, module->InitModule(&host, nullptr));
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);
    // The test's, the module's and the frame's own: the first fall to two is the frame's.
    ASSERT_GE(host.refs, 3u);
    std::vector<BOOL> dragAtTwo;
    host.onRelease = [&](ULONG left) {
        if (left == 2) dragAtTwo.push_back(DragFullWindows());
    };
    EXPECT_EQ(S_OK, module->UninitModule());
    const BOOL restored = DragFullWindows();
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, original, nullptr, 0);
    ASSERT_FALSE(dragAtTwo.empty());
    EXPECT_FALSE(dragAtTwo.front()) << "the toolkit stopped while the frame still lived";
    EXPECT_TRUE(restored) << "the toolkit put the setting back";
    EXPECT_EQ(1u, host.refs);
}
}  // namespace
