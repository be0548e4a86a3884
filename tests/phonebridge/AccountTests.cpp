// The messaging account as the service hands it over.
#include <gtest/gtest.h>

#include "BoshAccount.h"

using namespace IPPhone;

TEST(MessagingAccountDocument, NameAndAddressAreSplitAsTheServiceWritesThem) {
    const struct {
        const wchar_t *name, *url;
        const char *node, *domain, *address;
    } cases[] = {
        {L"ann@chat.example.com", L"https://chat.example.com/bind", "ann", "chat.example.com", "chat.example.com/bind"},
        // Only the first "@" splits; only the first "://" ends the scheme, and not at the start.
        {L"a@b@c", L"http://h:5280/x://y", "a", "b@c", "h:5280/x://y"},
        {L"lonely", L"://kept", "lonely", "lonely", "://kept"},
    };
    for (const auto& c : cases) {
        const std::wstring xml = std::wstring(L"<GetParleyAccount><Result>sUCCESS</Result><Information><Name>") +
                                 c.name + L"</Name><Password>p\u00e4ss</Password><ParleyBoshUrl>" + c.url +
                                 L"</ParleyBoshUrl></Information></GetParleyAccount>";
        const MessagingAccount account = ParseMessagingAccount(xml.c_str());
        EXPECT_TRUE(account.success) << c.node;
        EXPECT_EQ(c.node, account.node);
        EXPECT_EQ(c.domain, account.domain);
        EXPECT_EQ(c.address, account.boshUrl);
        EXPECT_EQ("p\xC3\xA4ss", account.password);
    }
    EXPECT_FALSE(ParseMessagingAccount(L"<GetParleyAccount").loaded);
    const MessagingAccount refused = ParseMessagingAccount(
        L"<GetParleyAccount><Result>Failure</Result><ErrorID>7</ErrorID><ErrorMessage>userpasswordiswrong"
        L"</ErrorMessage></GetParleyAccount>");
    EXPECT_FALSE(refused.success);
    EXPECT_TRUE(refused.PasswordWrong());
}
