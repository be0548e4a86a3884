// The bridge's connection to the private XMPP server: sign-in, a new account
// while signed in, the back-off after failures, a refused password, and the
// sign-off at shut-down.
#include <gtest/gtest.h>

#include <regex>

#include "BridgeFixture.h"
#include "CommonErrorDlg.h"

using namespace bridgetest;
using IPPhone::TIMERID_RELOGIN;

namespace {
// The relogin timer's tick, as the system delivers it.
void Tick(HWND window) { ::SendMessageW(window, WM_TIMER, TIMERID_RELOGIN, 0); }
}  // namespace

TEST_F(BridgeTest, SignsInAndANewAccountWhileSignedInSignsOffAndInAgain) {
    ASSERT_TRUE(SignInToServer());
    // The adapter's address, or twelve random capitals when no adapter answers.
    EXPECT_TRUE(std::regex_match(bridge->OwnAddress().resource, std::regex("QKClient([0-9A-F]{12}|[G-Z]{12})")))
        << bridge->OwnAddress().resource;

    GiveAccount(Account(server.UserPassword(), server.Value("QK_BOSH_URL")));
    EXPECT_TRUE(bridge->ReloginPending());
    ASSERT_TRUE(testsupport::PumpUntil([this] { return !bridge->ReloginPending() && bridge->LoggedIn(); }, 20000));
    EXPECT_EQ(1u, TraceCount("--> CIPPhoneBoshPorxy::BoshLogOff"));
    EXPECT_EQ(2u, TraceCount("--> CIPPhoneBoshPorxy::BoshLoginIn"));
}

TEST_F(BridgeTest, FailedSignInsWaitLongerEachTimeUntilARefusedPasswordStartsOver) {
    CIPPhoneBoshPorxy::SetRandomSource([] { return 7u; });
    GiveAccount(Account(server.UserPassword(), kClosedBoshUrl));
    const HWND window = bridge->m_hWnd;
    const struct {
        int base, delay;
    } expected[] = {{30, 37}, {60, 67}, {120, 127}, {240, 247}, {300, 307}};
    size_t logins = 1;
    for (const auto& step : expected) {
        ASSERT_TRUE(testsupport::PumpUntil(
            [&] { return bridge->BackoffBase() == step.base && bridge->Countdown() == step.delay; }, 20000))
            << step.base;
        ASSERT_EQ(logins, TraceCount("--> CIPPhoneBoshPorxy::BoshLoginIn"));
        for (int second = 0; second < step.delay; ++second) Tick(window);
        EXPECT_EQ(logins, TraceCount("--> CIPPhoneBoshPorxy::BoshLoginIn")) << "too early after " << step.delay;
        Tick(window);
        EXPECT_EQ(++logins, TraceCount("--> CIPPhoneBoshPorxy::BoshLoginIn")) << step.delay + 1 << " s";
    }
    ASSERT_TRUE(testsupport::PumpUntil([&] { return bridge->BackoffBase() == 300 && bridge->Countdown() == 307; }, 20000));

    // An account that arrives meanwhile signs in at once; its password is refused.
    GiveAccount(Account("not-the-password", server.Value("QK_BOSH_URL")));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return !Events(VelEvent::MessagingAccountAgain).empty(); }, 20000));
    EXPECT_EQ(0, bridge->BackoffDelay());
    EXPECT_EQ(0, bridge->BackoffBase());
    EXPECT_FALSE(::KillTimer(window, TIMERID_RELOGIN)) << "no countdown runs after a refused password";

    // The next failure starts from the first window again.
    GiveAccount(Account(server.UserPassword(), kClosedBoshUrl));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return bridge->BackoffBase() != 0; }, 20000));
    EXPECT_EQ(30, bridge->BackoffBase());
}

TEST_F(BridgeTest, ARefusedPasswordFromTheServiceIsShownAndNotRetried) {
    static std::wstring s_shown;
    // Runs inside the dialog's modal loop: reads the message and presses OK.
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        const HWND dialog = ::FindWindowW(L"#32770", L"Quillkit Meetings");
        if (!dialog || !::IsWindowVisible(dialog)) return;
        ::KillTimer(nullptr, id);
        wchar_t text[512] = {};
        ::GetDlgItemTextW(dialog, CCommonErrorDlg::kMessageControl, text, 512);
        s_shown = text;
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    GiveAccount(L"<GetParleyAccount><Result>Failure</Result><ErrorID>3</ErrorID><ErrorMessage>UserPasswordIsWrong"
                L"</ErrorMessage></GetParleyAccount>");
    ::KillTimer(nullptr, timer);
    EXPECT_NE(std::wstring::npos, s_shown.find(L"password was not accepted")) << "string 48";
    EXPECT_EQ(1u, TraceCount("<-- CCommonErrorDlg::OnDestroy"));
    EXPECT_EQ(0u, TraceCount("--> CIPPhoneBoshPorxy::BoshLoginIn"));
}

TEST_F(BridgeTest, ShutDownWhileSignedInWaitsForTheSignOff) {
    ASSERT_TRUE(SignInToServer());
    frame->DestroyWindow();
    EXPECT_EQ(nullptr, CIPPhoneBoshPorxy::Instance());
    EXPECT_EQ(1u, TraceCount("L2  static VOID ReleaseInstance:: WaitForSingleObject == WAIT_OBJECT_0,"));
}
