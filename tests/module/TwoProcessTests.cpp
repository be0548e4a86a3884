// Two real desktop clients: this process runs the first, the suite's host
// program starts a second that must hand over to the first and end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ModuleLibrary.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
// The host program's own code for a module whose InitModule failed.
constexpr long kHostInitFailed = 66;

// Watches the running frame's messages without changing what it does.
class FrameSpy {
public:
    explicit FrameSpy(HWND frame) : m_frame(frame) {
        s_spy = this;
        m_original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameSpy::Proc)));
    }
    ~FrameSpy() {
        if (::IsWindow(m_frame)) ::SetWindowLongPtrW(m_frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_original));
        s_spy = nullptr;
    }
    FrameSpy(const FrameSpy&) = delete;
    FrameSpy& operator=(const FrameSpy&) = delete;

    std::vector<std::wstring> texts;
    std::vector<ULONG_PTR> tags;
    std::vector<WPARAM> closes;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        FrameSpy* self = s_spy;
        if (message == WM_COPYDATA) {
            const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            self->tags.push_back(record->dwData);
            self->texts.emplace_back(record->lpData ? static_cast<const wchar_t*>(record->lpData) : L"");
        } else if (message == WM_CLOSE) {
            // Recorded and kept from the frame: this test decides when it ends.
            self->closes.push_back(wParam);
            return 0;
        }
        return ::CallWindowProcW(self->m_original, hwnd, message, wParam, lParam);
    }
    static inline FrameSpy* s_spy = nullptr;
    HWND m_frame;
    WNDPROC m_original = nullptr;
};

class TwoProcesses : public ::testing::Test {
protected:
    ModuleLibrary library{testsupport::BinFolder() + L"qkSJUI.dll"};
    TestHost host{L"qkhost.exe"};
    ComPtr<IVelUIModule> first;

    void SetUp() override {
        ASSERT_TRUE(library.Loaded());
        first = library.Create(kDesktopClientClass);
        ASSERT_EQ(S_OK, first->InitModule(host.app, nullptr));
    }
    void TearDown() override {
        first->UninitModule();
        first.Reset();
        testsupport::PumpPending();
    }

    std::wstring HostProgram() const { return testsupport::BinFolder() + L"qkhost.exe"; }
    std::wstring SecondInstance(const std::wstring& extra) const {
        return L"\"" + HostProgram() + L"\" /module:{2DD8BA03-E8BC-421C-461F-4936E19F0103} \"/dll:" +
               testsupport::BinFolder() + L"qkSJUI.dll\"" + extra;
    }
};

TEST_F(TwoProcesses, SecondClientHandsItsCommandLineToTheFirst) {
    FrameSpy spy(first->GetModuleWindow());
    EXPECT_EQ(kHostInitFailed, testsupport::RunProcessPumping(SecondInstance(L" /OpenSetting \"/x y\""), 30000));
    ASSERT_EQ(1u, spy.texts.size());
    EXPECT_EQ(0xFFFFFFFFu, spy.tags[0]);
    // The host passes on its command line without its own options.
    EXPECT_EQ(L"\"" + HostProgram() + L"\" /OpenSetting \"/x y\"", spy.texts[0]);
    EXPECT_TRUE(spy.closes.empty());
    EXPECT_FALSE(first->IsModuleClosed());
}

TEST_F(TwoProcesses, CloseParameterAsksTheFirstToExit) {
    FrameSpy spy(first->GetModuleWindow());
    EXPECT_EQ(kHostInitFailed, testsupport::RunProcessPumping(SecondInstance(L" /param:close"), 30000));
    testsupport::PumpUntil([&] { return !spy.closes.empty(); }, 2000);
    ASSERT_EQ(1u, spy.closes.size());
    EXPECT_EQ(static_cast<WPARAM>(0xFFFFFFFF), spy.closes[0]);
    EXPECT_TRUE(spy.texts.empty());
}
}  // namespace
