// The running desktop client keeps its icon in the notification area: it
// appears with the frame, follows the host's events, comes back after the
// shell lost it, and leaves with the frame.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "UniqueHandle.h"
#include "support/ModuleLibrary.h"
#include "support/TestSupport.h"
#include "support/TestHost.h"
#include "tray/TrayView.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr UINT kSignedOutIcon = 428;
constexpr UINT kSignedInIcon = 246;
constexpr UINT kTrayIconId = 246;

class FrameTray : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Loaded());
        ASSERT_TRUE(resources.valid());
        module = library.Create(kDesktopClientClass);
        ASSERT_TRUE(module);
        ASSERT_EQ(S_OK, module->InitModule(host.app, nullptr));
        frame = module->GetModuleWindow();
        ASSERT_TRUE(::IsWindow(frame));
    }
    void TearDown() override {
        if (module) module->UninitModule();
        module.Reset();
        testsupport::PumpPending();
    }
    HICON Load(UINT id) {
        return static_cast<HICON>(::LoadImageW(resources.get(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    }
    // What a restarted shell does to the icons it had: forgets them.
    void ShellForgetsTheIcon() const {
        NOTIFYICONDATAW record{};
        record.cbSize = NOTIFYICONDATAW_V2_SIZE;
        record.hWnd = frame;
        record.uID = kTrayIconId;
        ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &record));
    }

    ModuleLibrary library{testsupport::BinFolder() + L"qkSJUI.dll"};
    UniqueHmodule resources{::LoadLibraryW((testsupport::BinFolder() + L"qksjres.dll").c_str())};
    UniqueHicon signedOut{Load(kSignedOutIcon)};
    UniqueHicon signedIn{Load(kSignedInIcon)};
    TestHost host;
    ComPtr<IVelUIModule> module;
    HWND frame = nullptr;
};
}  // namespace

TEST_F(FrameTray, SettingChangeAndTaskbarCreatedBringBackALostIcon) {
    ASSERT_TRUE(trayview::WaitUntil(signedOut.get(), true));
    host.app->Bus().Fire(14, 1, 0, 0);
    ASSERT_TRUE(trayview::WaitUntil(signedIn.get(), true)) << "the host's image event reaches the icon";
    EXPECT_FALSE(trayview::Shows(signedOut.get()));
    for (const UINT message : {UINT{WM_SETTINGCHANGE}, ::RegisterWindowMessageW(L"TaskbarCreated")}) {
        ShellForgetsTheIcon();
        ASSERT_TRUE(trayview::WaitUntil(signedIn.get(), false)) << message;
        ::SendMessageW(frame, message, 0, 0);
        EXPECT_TRUE(trayview::WaitUntil(signedIn.get(), true)) << "re-added with its current image: " << message;
    }

    // With the icon still there, the change leaves exactly one icon behind, which goes with the frame.
    ::SendMessageW(frame, WM_SETTINGCHANGE, 0, 0);
    module->UninitModule();
    EXPECT_TRUE(trayview::WaitUntil(signedIn.get(), false));
}
