// Sign-in through the suite's login module, sign-out, account switch, exit,
// and the settings module chosen for the account's site.
#include "support/CommandFixture.h"

using namespace commandtest;

namespace {
std::wstring LibraryOf(HWND window) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(reinterpret_cast<HMODULE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE)), path, MAX_PATH);
    const std::wstring full = path;
    return full.substr(full.find_last_of(L'\\') + 1);
}

HWND SettingWindow(const CMainFrame& frame) {
    return frame.GetSettingModule() ? frame.GetSettingModule()->GetModuleWindow() : nullptr;
}
}  // namespace

TEST_F(CommandTest, SigningInThroughTheLoginModuleSignsTheFrameInAndSigningOutUndoesIt) {
    // The frame loaded the real login module, hidden, when it was created.
    ASSERT_NE(nullptr, frame->GetLoginModule());
    const HWND window = frame->GetLoginModule()->GetModuleWindow();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_FALSE(::IsWindowVisible(window));
    Command(CMainFrame::kCmdTrayLogin);
    EXPECT_TRUE(::IsWindowVisible(window));
    const auto signInShown = Events(VelEvent::MainFrameCreated);
    ASSERT_EQ(1u, signInShown.size());
    EXPECT_EQ(1, signInShown[0].first);

    ::SetDlgItemTextW(window, 1001, L"team.example.com");
    ::SetDlgItemTextW(window, 1002, L"bo");
    ::SetDlgItemTextW(window, 1003, L"s<cret");
    ::SendMessageW(window, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_TRUE(frame->IsSignedIn());
    const auto synced = Events(VelEvent::SignInSynchronized);
    ASSERT_EQ(1u, synced.size());
    EXPECT_EQ(1, synced[0].first);
    ASSERT_NE(0, synced[0].third);

    Command(CMainFrame::kCmdLogOut);
    EXPECT_EQ(1u, Events(VelEvent::SignedOut).size());
    EXPECT_TRUE(::IsWindowVisible(window));
    ::ShowWindow(window, SW_HIDE);
    // Hiding the window is not enough: the session itself ended.
    EXPECT_FALSE(frame->IsSignedIn());
}

TEST_F(CommandTest, ExitFiresItsEventThenAsksTheHostToClose) {
    Command(CMainFrame::kCmdTrayExit);
    EXPECT_EQ(1u, Events(VelEvent::UserExit).size());
    EXPECT_FALSE(host.app->CloseRequested());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, frame->m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(CMainFrame::kExitMarker, msg.wParam);
    ::DispatchMessageW(&msg);
    EXPECT_TRUE(host.app->CloseRequested());
}

TEST_F(CommandTest, TheSettingsModuleIsChosenByTheSiteTypeAndLetGoWhenClosed) {
    SignIn();
    const std::pair<int, std::wstring> cases[] = {{0, L"qkONIUITra.dll"}, {2, L"qkONIUIOri.dll"}, {1, L"qkONIUI.dll"},
                                                  {3, L"qkONIUI.dll"}};
    for (const auto& [siteType, library] : cases) {
        UseAccount(Account(siteType, true, true));
        Command(CMainFrame::kCmdSettings);
        const HWND window = SettingWindow(*frame);
        ASSERT_TRUE(::IsWindowVisible(window)) << siteType;
        EXPECT_EQ(library, LibraryOf(window));
        wchar_t site[128] = {};
        ::GetDlgItemTextW(window, 1101, site, 128);
        EXPECT_STREQ(L"Site: https://acme.example.com/acme", site);
        // A second request brings the same window forward.
        Command(CMainFrame::kCmdSettings);
        EXPECT_EQ(window, SettingWindow(*frame));

        ::SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(frame->GetSettingModule()->IsModuleClosed());
        frame->OnIdle();
        EXPECT_EQ(nullptr, frame->GetSettingModule());
    }
}

TEST_F(CommandTest, SignOutWaitsForAModalDialogOfTheSettingsWindow) {
    SignIn();
    frame->OpenSetting();
    const HWND settings = SettingWindow(*frame);
    ASSERT_TRUE(::IsWindow(settings));
    ::EnableWindow(settings, FALSE);
    Command(CMainFrame::kCmdLogOut);
    Command(CMainFrame::kCmdSwitchAccount);
    EXPECT_TRUE(Events(VelEvent::SignedOut).empty());
    EXPECT_TRUE(Events(VelEvent::AccountSwitch).empty());
    EXPECT_EQ(settings, SettingWindow(*frame));
    EXPECT_TRUE(frame->IsSignedIn());

    ::EnableWindow(settings, TRUE);
    Command(CMainFrame::kCmdSwitchAccount);
    EXPECT_EQ(1u, Events(VelEvent::AccountSwitch).size());
    EXPECT_EQ(nullptr, frame->GetSettingModule());
    EXPECT_TRUE(::IsWindowVisible(login->GetModuleWindow()));
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd));
}
