// The XMPP server killed and started again, over and over, during one
// session: after each restart the bridge signs in again (its back-off
// shortened through the clock: a second lasts 10 ms) and a request the phone
// sends then is answered. QK_SERVER_RESTARTS sets the count (default 3).
#include <gtest/gtest.h>

#include <cstdio>

#include "BridgeFixture.h"
#include "Clock.h"
#include "UrlCodec.h"
#include "support/DeskPhone.h"

using namespace bridgetest;

namespace {
int Restarts() {
    wchar_t text[16] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"QK_SERVER_RESTARTS", text, 16);
    return length && length < 16 ? std::wcstol(text, nullptr, 10) : 3;
}

// Ends the shortened waits however the test ends.
struct ShortWaits {
    ShortWaits() { Clock::ShortenWaits(100); }
    ~ShortWaits() { Clock::ShortenWaits(1); }
};
}  // namespace

TEST_F(BridgeTest, AfterEachServerRestartTheBridgeSignsInAgainAndThePhoneIsAnswered) {
    const int restarts = Restarts();
    const ShortWaits waits;
    testsupport::PrivateProsody own("/tmp/qk-restarts-" + std::to_string(::GetCurrentProcessId()));
    ASSERT_TRUE(own.Start());
    const testsupport::ProsodyServer first = own.Server();
    const int http = std::stoi(first.Value("QK_PROSODY_HTTP_PORT"));
    const int c2s = std::stoi(first.Value("QK_PROSODY_C2S_PORT"));
    // The meetings library reports what it joins as running: that answers the phone.
    reporting.SetDword(L"ReportRunning", 1);
    GiveAccount(Account(first.UserPassword(), first.Value("QK_BOSH_URL")));
    ASSERT_TRUE(testsupport::PumpUntil([this] { return bridge->LoggedIn(); }, 20000));

    int answered = 0, signedInAgain = 0;
    for (int round = 0; round <= restarts; ++round) {
        if (round > 0) {
            ASSERT_TRUE(own.Stop()) << "restart " << round;
            ASSERT_TRUE(testsupport::PumpUntil([this] { return !bridge->LoggedIn(); }, 20000)) << "restart " << round;
            ASSERT_TRUE(own.Start(http, c2s)) << "restart " << round;
            ASSERT_TRUE(testsupport::PumpUntil([this] { return bridge->LoggedIn(); }, 60000))
                << "not signed in again after restart " << round;
            ++signedInAgain;
        }
        testsupport::DeskPhone phone;
        ASSERT_TRUE(phone.SignIn(own.Server())) << "restart " << round;
        phone.ListenTo(bridge->OwnAddress().Text());
        const std::wstring sequence = L"r" + std::to_wstring(round);
        const std::wstring request = L"<ZvnXmppReq><Command>JoinMeeting</Command><Sequence>" + sequence +
                                     L"</Sequence><Param><HeadCount>1</HeadCount><MeetingKey>" +
                                     std::to_wstring(311000000 + round) + L"</MeetingKey></Param></ZvnXmppReq>";
        ASSERT_TRUE(phone.Send(bridge->OwnAddress().Text(), IPPhone::EncodeMessageBody(request.c_str())));
        const std::wstring answer = IPPhone::DecodeMessageBody(phone.Body(1).c_str());
        const bool ok = answer.find(L"<Sequence>" + sequence + L"</Sequence>") != std::wstring::npos &&
                        answer.find(L"<ResultCode>0</ResultCode>") != std::wstring::npos;
        EXPECT_TRUE(ok) << "restart " << round << " answered: " << std::string(answer.begin(), answer.end());
        answered += ok;
        ASSERT_TRUE(testsupport::PumpUntil([this] { return bridge->Commands().Current() == nullptr; }, 5000));
    }
    std::printf("server restarts: %d, signed in again %d times, %d of %d requests answered\n", restarts, signedInAgain,
                answered, restarts + 1);
    std::fflush(stdout);
}
