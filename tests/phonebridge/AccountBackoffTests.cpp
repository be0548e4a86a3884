// The messaging account as the service hands it over, and the delays between
// sign-ins after failures.
#include <gtest/gtest.h>

#include "BoshAccount.h"

using namespace IPPhone;

TEST(MessagingAccountDocument, NameAddressAndFailureAreReadAsTheServiceWritesThem) {
    const auto success = [](const wchar_t* name, const wchar_t* url) {
        return std::wstring(L"<GetParleyAccount><Result>sUCCESS</Result><Information><Name>") + name +
               L"</Name><Password>p\u00e4ss</Password><ParleyBoshUrl>" + url +
               L"</ParleyBoshUrl></Information></GetParleyAccount>";
    };
    const struct {
        std::wstring xml;
        bool loaded, ok;
        const char *node, *domain, *url;
    } cases[] = {
        {success(L"ann@chat.example.com", L"https://chat.example.com/http-bind"), true, true, "ann",
         "chat.example.com", "chat.example.com/http-bind"},
        // Only the first "@" splits; only the first "://" ends the scheme.
        {success(L"a@b@c", L"http://h:5280/x://y"), true, true, "a", "b@c", "h:5280/x://y"},
        {success(L"lonely", L"h/http-bind"), true, true, "lonely", "lonely", "h/http-bind"},
        {success(L"ann@d", L"://kept"), true, true, "ann", "d", "://kept"},
        {L"<GetParleyAccount", false, false, "", "", ""},
    };
    for (const auto& c : cases) {
        const MessagingAccount account = ParseMessagingAccount(c.xml.c_str());
        EXPECT_EQ(c.loaded, account.loaded) << c.xml.c_str();
        EXPECT_EQ(c.ok, account.success) << c.xml.c_str();
        EXPECT_EQ(c.node, account.node) << c.xml.c_str();
        EXPECT_EQ(c.domain, account.domain) << c.xml.c_str();
        EXPECT_EQ(c.url, account.boshUrl) << c.xml.c_str();
        if (c.ok) {
            EXPECT_EQ("p\xC3\xA4ss", account.password);
        }
    }

    const MessagingAccount refused = ParseMessagingAccount(
        L"<GetParleyAccount><Result>Failure</Result><ErrorID>7</ErrorID><ErrorMessage>userpasswordiswrong"
        L"</ErrorMessage></GetParleyAccount>");
    EXPECT_FALSE(refused.success);
    EXPECT_EQ(7, refused.errorId);
    EXPECT_TRUE(refused.PasswordWrong());
    EXPECT_FALSE(ParseMessagingAccount(L"<GetParleyAccount><Result>Failure</Result><ErrorMessage>NoMessagingAccount"
                                       L"</ErrorMessage></GetParleyAccount>")
                     .PasswordWrong());
}

TEST(SignInBackoff, FailuresInARowDoubleTheWindowUpToItsLimitAndASuccessStartsOver) {
    // The login starts delay + 1 seconds after a failure.
    const struct {
        int firstStart, lastStart;
    } windows[] = {{31, 60}, {61, 120}, {121, 240}, {241, 480}, {301, 600}, {301, 600}};
    for (const unsigned random : {0u, 0xFFFFFFFFu, 12345u}) {
        Backoff state{0, 0};
        for (const auto& window : windows) {
            state = NextBackoff(state.delay, state.base, random);
            EXPECT_LE(window.firstStart, state.delay + 1) << random;
            EXPECT_GE(window.lastStart, state.delay + 1) << random;
        }
        // After a successful sign-in the delay is 0 again.
        EXPECT_EQ(30, NextBackoff(0, state.base, random).base);
    }
    // Both ends of each window are reached.
    EXPECT_EQ(30, NextBackoff(0, 0, 0).delay);
    EXPECT_EQ(59, NextBackoff(0, 0, 29).delay);
    EXPECT_EQ(599, NextBackoff(400, 300, 299).delay);
}
