// The help module as the suite runs it: the host program started with the
// help parameters, ending with the module's exit code.
#include <gtest/gtest.h>

#include "helpmodule/HelpFixture.h"
#include "HelpPageChooser.h"
#include "support/TestSupport.h"

namespace {
using HelpProcess = HelpModuleTest;

std::wstring HostCommand(const std::wstring& parameters) {
    return L"\"" + testsupport::BinFolder() + L"qkhost.exe\" /module:{FEF76793-BAE4-4B89-6A14-2F6CB6875A50} \"/dll:" +
           testsupport::BinFolder() + L"qkSJUI.dll\"" + parameters;
}

TEST_F(HelpProcess, OpensTheSitePageAndEndsWithZero) {
    user.SetText(L"SiteName", L"acme.quillkit.example");
    EXPECT_EQ(0, testsupport::RunProcessPumping(HostCommand(L" /param:help /param:helptype=2"), 30000));
    EXPECT_EQ(std::vector<std::wstring>{L"https://acme.quillkit.example/acme/qk.php?AT=HELP&LanguageID=" +
                                        ResourceText(52) + L"Type=OISMF"},
              urls.WaitForPages(1, 10000));
}

TEST_F(HelpProcess, MissingCustomLinkEndsWith404) {
    user.SetText(L"SiteName", L"acme.quillkit.example");
    user.SetText(L"SiteType", L"2");
    user.SetDword(L"SupportCustomHelp", 1);
    user.SetText(L"HelpLink", L"");
    EXPECT_EQ(404, testsupport::RunProcessPumping(HostCommand(L" /param:help /param:helptype=2"), 30000));
    EXPECT_TRUE(urls.OpenedPages().empty());
}
}  // namespace
