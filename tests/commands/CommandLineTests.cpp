// Command lines handed over by a second instance and carried out by the frame.
#include "support/CommandFixture.h"

using namespace commandtest;

namespace {
// What a second instance sends: its own program name first.
LRESULT HandOver(HWND frame, const std::wstring& arguments) {
    const std::wstring text = L"\"C:\\suite\\qkhost.exe\" " + arguments;
    COPYDATASTRUCT record{};
    record.dwData = CMainFrame::kCopyDataTag;
    record.cbData = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    record.lpData = const_cast<wchar_t*>(text.c_str());
    return ::SendMessageW(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}
}  // namespace

class CommandLine : public CommandTest {
protected:
    // Hands `arguments` over while signed in and runs the deferred handling.
    void CarryOut(const std::wstring& arguments) {
        HandOver(frame->m_hWnd, arguments);
        ASSERT_TRUE(TimerWasRunning(CMainFrame::kCommandLineTimer)) << arguments;
        ::SendMessageW(frame->m_hWnd, WM_TIMER, CMainFrame::kCommandLineTimer, 0);
        EXPECT_TRUE(frame->GetCommandLineText().empty());
    }
    bool SettingsOpen() const {
        return frame->GetSettingModule() && ::IsWindowVisible(frame->GetSettingModule()->GetModuleWindow());
    }
};

TEST_F(CommandLine, OpenSettingIgnoresCaseButNotExtraText) {
    SignIn();
    CarryOut(L"/OPENsetting=1");
    EXPECT_TRUE(SettingsOpen());
    frame->UnloadSettingModule(TRUE);
    CarryOut(L"/opensetting");
    EXPECT_TRUE(SettingsOpen());
    frame->UnloadSettingModule(TRUE);
    CarryOut(L"/OpenSetting=12");
    EXPECT_FALSE(SettingsOpen());
}

TEST_F(CommandLine, SwitchAccountAndSignOutArePostedAsCommands) {
    SignIn();
    CarryOut(L"/switchaccount");
    CarryOut(L"/SignOut");
    EXPECT_EQ((std::vector<WPARAM>{40028, 40027}), TakeCommands());
}

TEST_F(CommandLine, SwitchtoErrorSignsInAgainWithTheGivenError) {
    struct Case {
        std::wstring arguments;
        size_t events;
        INT_PTR code, third;
    };
    const Case cases[] = {
        {L"SwitchtoError,Error=35", 1, 35, 1},
        {L"SwitchtoError,Error=6", 1, 6, 1},
        {L"SwitchtoError,Error=12", 1, 12, 0},
        {L"SwitchtoError", 0, 0, 0},
        {L"switchtoerror,Error=35", 0, 0, 0},  // the marker is case-sensitive
    };
    SignIn();
    for (const Case& c : cases) {
        login->ShowModule(FALSE);
        listener.received.clear();
        CarryOut(c.arguments);
        const auto errors = Events(VelEvent::SignInError);
        ASSERT_EQ(c.events, errors.size()) << c.arguments;
        if (c.events) {
            EXPECT_EQ(c.code, errors[0].first);
            EXPECT_EQ(0, errors[0].second);
            EXPECT_EQ(c.third, errors[0].third);
            EXPECT_TRUE(::IsWindowVisible(login->GetModuleWindow()));
        }
    }
}

TEST_F(CommandLine, ReSigninRequestsANewSignIn) {
    SignIn();
    CarryOut(L"ReSignin");
    const auto again = Events(VelEvent::SignInAgain);
    ASSERT_EQ(1u, again.size());
    EXPECT_EQ(1, again[0].third);
    EXPECT_TRUE(::IsWindowVisible(login->GetModuleWindow()));
}

TEST_F(CommandLine, WhileSignedOutACommandWaitsForSignInButSettingsAreDropped) {
    frame->SetLoginModule(login.Get(), {});
    HandOver(frame->m_hWnd, L"/SignOut");
    EXPECT_FALSE(TimerWasRunning(CMainFrame::kCommandLineTimer));
    EXPECT_EQ(L"/SignOut", frame->GetCommandLineText());
    EXPECT_TRUE(::IsWindowVisible(login->GetModuleWindow()));

    HandOver(frame->m_hWnd, L"/OpenSetting=1");
    EXPECT_TRUE(frame->GetCommandLineText().empty());
}

TEST_F(CommandLine, AnEmptyRecordOpensTheFrame) {
    SignIn();
    HandOver(frame->m_hWnd, L"");
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd));
    EXPECT_EQ((std::vector<WPARAM>{CMainFrame::kAutoRefresh}), TakeCommands());
}

TEST_F(CommandLine, AutoRunIsReadFromTheHostsCommandLine) {
    EXPECT_FALSE(frame->IsStartByAutoRun());
    TestHost autoRun(L"\"C:\\suite\\qkhost.exe\" /AutoRun");
    frame->SetApplication(autoRun.app);
    EXPECT_TRUE(frame->IsStartByAutoRun());
    TestHost lower(L"\"C:\\suite\\qkhost.exe\" /autorun");
    frame->SetApplication(lower.app);
    EXPECT_FALSE(frame->IsStartByAutoRun());
    frame->SetApplication(host.app);
}
