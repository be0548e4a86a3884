// Meeting operations and pages reach the suite's meetings library with the
// frame's arguments, and its result codes decide on a new sign-in.
#include "support/CommandFixture.h"

#include <functional>
#include <initializer_list>

#include "ComHolders.h"

using namespace commandtest;
using Lines = std::vector<std::wstring>;

namespace {
// The result code the library answers with next.
void AnswerWith(const SavedRegistryValues& settings, DWORD code) { settings.SetDword(L"ResultCode", code); }

// Each operation has its own list of codes after which the user signs in
// again. The tables name every code of a list beside neighbours that are not
// on it, so that a code dropped from or added to a list fails.
struct SignInCode {
    DWORD code;
    bool signInAgain;
};

class MeetingCommand : public CommandTest {
protected:
    void ExpectSignInAgainOn(std::initializer_list<SignInCode> codes, const std::function<void()>& operation) {
        for (const SignInCode& c : codes) {
            listener.received.clear();
            AnswerWith(meetingLib, c.code);
            operation();
            const auto errors = Events(VelEvent::SignInError);
            ASSERT_EQ(c.signInAgain ? 1u : 0u, errors.size()) << c.code;
            if (c.signInAgain) {
                EXPECT_EQ(static_cast<INT_PTR>(c.code), errors[0].first);
                EXPECT_EQ(0, errors[0].second);
                EXPECT_EQ(0, errors[0].third);
                login->ShowModule(FALSE);  // the sign-in window was shown again
            }
        }
    }
};
}  // namespace

TEST_F(MeetingCommand, InstantMeetingCallsTheLibraryAndSignsInAgainOnItsCodes) {
    SignIn();
    const std::wstring owner = HandleText(frame->m_hWnd);
    Command(CMainFrame::kCmdStartMeeting);
    const Lines calls = TakeCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(L"StartInstantMeeting\towner=" + owner + L"\tcaller=2\tphone=(null)\treserved=0", calls[0]);
    EXPECT_EQ(0u, calls[1].find(L"GetResult\tflag=1\tcode=2\t"));
    EXPECT_TRUE(Events(VelEvent::SignInError).empty());
    EXPECT_TRUE(TimerWasRunning(CMainFrame::kUpdateCheckTimer));

    ExpectSignInAgainOn({{11, false}, {12, true}, {14, false}, {15, true}, {16, true}, {17, false}, {35, false},
                         {36, true}, {37, false}},
                        [&] { EXPECT_EQ(S_OK, frame->StartInstantMeeting(Bstr(L"5551234").get())); });
    EXPECT_NE(std::wstring::npos, TakeCalls().back().find(L"code=37"));
}

TEST_F(MeetingCommand, StartAndJoinPassTheirArgumentsAndHaveTheirOwnSignInCodes) {
    SignIn();
    const std::wstring owner = HandleText(frame->m_hWnd);
    AnswerWith(meetingLib, 15);
    EXPECT_EQ(S_OK, frame->StartMeeting(Bstr(L"123456789").get(), Bstr(L"k2").get(), Bstr(L"Weekly").get(), 7));
    Lines calls = TakeCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(L"StartScheduledMeeting\towner=" + owner +
                  L"\tkey=123456789\ttopic=Weekly\tvalue=7\tkey2=k2\tcaller=0\tphone=(null)\tattendee=(null)",
              calls[0]);
    EXPECT_EQ(0u, calls[1].find(L"GetResult\tflag=0\tcode=15"));
    // 15 is not a sign-in code for a start, but it is for a join.
    EXPECT_TRUE(Events(VelEvent::SignInError).empty());

    // Without a site the account's own is used, as the account has no Z11 site.
    EXPECT_EQ(S_OK, frame->JoinMeeting(Bstr(L"987654321").get(), Bstr(L"k2").get(), Bstr(L"pw").get(), nullptr, 3,
                                       TRUE));
    calls = TakeCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(L"JoinMeeting\towner=" + owner +
                  L"\tkey=987654321\tpassword=pw\tsite=https://acme.example.com/acme\tvalue=3\tkey2=k2\tcaller=0"
                  L"\tphone=(null)\tattendee=(null)",
              calls[0]);
    ASSERT_EQ(1u, Events(VelEvent::SignInError).size());
    EXPECT_EQ(15, Events(VelEvent::SignInError)[0].first);
    login->ShowModule(FALSE);

    ExpectSignInAgainOn({{11, false}, {12, true}, {13, false}, {15, false}, {16, true}, {17, false}, {36, false}},
                        [&] { frame->StartMeeting(Bstr(L"1").get(), nullptr, nullptr, 0); });
    ExpectSignInAgainOn({{11, false}, {12, true}, {14, false}, {15, true}, {16, true}, {17, false}, {36, false}},
                        [&] { frame->JoinMeeting(Bstr(L"1").get(), nullptr, Bstr(L"pw").get(), nullptr, 0, FALSE); });
}

// A join that needs a password it has not got asks for it: tests/ipphone.
TEST_F(CommandTest, AJoinWithoutPasswordOrRequirementUsesItsOwnSite) {
    frame->JoinMeeting(Bstr(L"1").get(), nullptr, nullptr, Bstr(L"other.example.com").get(), 0, FALSE);
    const Lines calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(std::wstring::npos, calls[0].find(L"\tpassword=(null)\tsite=other.example.com\t"));
}

TEST_F(MeetingCommand, PersonalConferenceOutcomes) {
    SignIn();
    struct Case {
        DWORD code;
        size_t signInAgain;
        size_t refreshes;
    };
    // Started: nothing more; the sign-in codes beside their neighbours, which refresh.
    for (const Case& c : {Case{2, 0, 0}, Case{3, 0, 1}, Case{4, 1, 0}, Case{5, 1, 0}, Case{6, 1, 0}, Case{7, 0, 1}}) {
        listener.received.clear();
        AnswerWith(meetingLib, c.code);
        Command(CMainFrame::kCmdStartPersonalConf);
        const Lines calls = TakeCalls();
        ASSERT_EQ(2u, calls.size()) << c.code;
        EXPECT_EQ(L"StartPersonalConference\towner=" + HandleText(frame->m_hWnd), calls[0]);
        EXPECT_EQ(c.signInAgain, Events(VelEvent::SignInError).size()) << c.code;
        size_t refreshes = 0;
        for (WPARAM command : TakeCommands()) refreshes += command == CMainFrame::kAutoRefresh;
        EXPECT_EQ(c.refreshes, refreshes) << c.code;
        if (c.signInAgain) login->ShowModule(FALSE);  // the sign-in window was shown again
    }
}

TEST_F(CommandTest, PageCommandsReachTheMeetingPages) {
    UseAccount(Account(1, true, true, L"a.b.c/x"));
    SignIn();
    const std::wstring owner = HandleText(frame->m_hWnd);
    struct Case {
        WORD command;
        std::wstring line;
    };
    const Case cases[] = {
        {CMainFrame::kCmdScheduleMeeting, L"ScheduleMeeting\towner=" + owner},
        {CMainFrame::kCmdViewAllMeetings, L"OpenAddress\towner=" + owner + L"\taddress=https://a.b.c/x/collabs/#/meetings"},
        {CMainFrame::kCmdAbout, L"ShowAboutBox\towner=" + owner},
        {CMainFrame::kCmdHelp, L"ShowHelp\ttopic=5"},
        {CMainFrame::kCmdGotoZorvan, L"GoToMeetingSite"},
        {CMainFrame::kCmdConnectToMyComputer, L"ConnectToMyComputer\towner=" + owner},
    };
    for (const Case& c : cases) {
        Command(c.command);
        EXPECT_EQ((Lines{c.line}), TakeCalls()) << c.command;
    }
    // Before sign-in the about box belongs to the sign-in window.
    sign.Reset();
    Command(CMainFrame::kCmdAbout);
    EXPECT_EQ((Lines{L"ShowAboutBox\towner=" + HandleText(login->GetModuleWindow())}), TakeCalls());
}

TEST_F(CommandTest, ALibraryFailureIsPassedOn) {
    meetingLib.SetDword(L"ActionResult", static_cast<DWORD>(E_ACCESSDENIED));
    EXPECT_EQ(E_ACCESSDENIED, frame->StartInstantMeeting(nullptr));
    EXPECT_EQ(E_ACCESSDENIED, frame->OnConnectToMyComputer());
}
