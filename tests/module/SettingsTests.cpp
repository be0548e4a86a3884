// The account settings against the suite's real settings service, registered
// for the test; trace lines go to a file of the test's own.
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QkServiceInterfaces.h"
#include "ComHolders.h"
#include "UniqueHandle.h"
#include "MainFrame.h"
#include "support/ModuleLibrary.h"
#include "SJUISetting.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
const wchar_t kStoreKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Service";
const wchar_t kFullAccount[] =
    L"<Settings><Account><SiteName>acme.example.com</SiteName><UserName>ann</UserName><Password>pw</Password>"
    L"<Remember>0</Remember><Z11SiteName>a.b.c/x</Z11SiteName><DeskreachEnable>1</DeskreachEnable>"
    L"<SnapjoinEnable>1</SnapjoinEnable><SiteType>2</SiteType></Account><Tools><Outlook>yes</Outlook></Tools></Settings>";

class Settings : public ::testing::Test {
protected:
    RegisteredService service{testsupport::BinFolder()};
    testsupport::EnvironmentFile log{L"QK_TRACE_FILE"};

    void SetUp() override {
        ASSERT_TRUE(service.Loaded() && service.UnregisterServer);
        ASSERT_EQ(S_OK, service.registration);
    }
    void TearDown() override {
        CSJUISetting::ReleaseInstance();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    }

    static ComPtr<IQKSuiteState> Control() {
        ComPtr<IQKSuiteState> state;
        ::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state));
        return state;
    }
};

TEST_F(Settings, ReadsEveryFieldOfTheAccount) {
    ASSERT_EQ(S_OK, Control()->SetAccountDocument(Bstr(kFullAccount).get()));
    CSJUISetting* setting = CSJUISetting::GetInstance();
    EXPECT_EQ(3u, setting->GetSiteType()) << "before the first load";
    ASSERT_TRUE(setting->Initialize());
    CStringEx site, user, password;
    LONG remember = -1;
    EXPECT_TRUE(setting->GetAccount(site, user, password, &remember));
    EXPECT_STREQ(L"acme.example.com", site.c_str());
    EXPECT_STREQ(L"ann", user.c_str());
    EXPECT_STREQ(L"pw", password.c_str());
    EXPECT_EQ(0, remember);
    EXPECT_EQ(2u, setting->GetSiteType());
    EXPECT_FALSE(setting->IsZ11SiteNameEmpty());
    EXPECT_EQ(1, setting->IsDeskreachEnabled());
    EXPECT_TRUE(setting->IsOutlookToolEnabled());
    CStringEx url(L"old");
    EXPECT_TRUE(setting->GetMeetingsPageUrl(url));
    EXPECT_STREQ(L"https://a.b.c/x/collabs/#/meetings", url.c_str());

    setting->Uninitlize();
    EXPECT_FALSE(setting->IsOutlookToolEnabled()) << "no account root after Uninitlize";
    EXPECT_TRUE(setting->GetSiteName(site));
    EXPECT_STREQ(L"acme.example.com", site.c_str()) << "fields keep their last values";
    EXPECT_EQ(S_OK, service.CanUnloadNow()) << "every service object was released";
}

// Account documents as a broken or hostile settings service may hand them out:
// what parses is read field by field with the defaults for what is missing or
// mistyped (remember 1, site type 0, flags 0); what does not parse leaves the
// previous account in place.
TEST_F(Settings, HostileAccountDocumentsLoadWhatTheyCan) {
    const std::wstring full = kFullAccount;
    auto account = [](const std::wstring& fields) { return L"<Settings><Account>" + fields + L"</Account></Settings>"; };
    std::wstring many, open, close;
    for (int i = 0; i < 10000; ++i) many += L"<Account><SiteName>s" + std::to_wstring(i) + L"</SiteName></Account>";
    for (int i = 0; i < 5000; ++i) {
        open += L"<n>";
        close += L"</n>";
    }
    const std::wstring longSite(1000000, L'a');
    constexpr int kAny = -1;  // the parser's own limits decide
    struct Case {
        const char* name;
        std::wstring document;
        int loads;  // TRUE, FALSE or kAny
        std::wstring site;
        ULONG siteType;
        LONG remember, snapjoin;
    };
    const Case cases[] = {
        {"truncated", full.substr(0, full.size() / 2), FALSE, L"acme.example.com", 2, 0, 1},
        {"ten thousand accounts", L"<Settings>" + many + L"</Settings>", TRUE, L"s0", 0, 1, 0},
        {"huge site name", account(L"<SiteName>" + longSite + L"</SiteName><Z11SiteName>z." + longSite +
                                   L"</Z11SiteName>"),
         TRUE, longSite, 0, 1, 0},
        {"wrongly typed fields",
         account(L"<SiteName>s</SiteName><Remember>yes</Remember><SiteType>-1</SiteType>"
                 L"<SnapjoinEnable>maybe</SnapjoinEnable><DeskreachEnable>99999999999999999999</DeskreachEnable>"),
         TRUE, L"s", 0xFFFFFFFFu, 0, 0},
        {"fields as attributes", L"<Settings><Account SiteName=\"s\" SiteType=\"2\"/></Settings>", TRUE, L"", 0, 1, 0},
        {"markup inside a field", account(L"<SiteName>a<b>c</b>d</SiteName><SiteType>2<x/></SiteType>"), TRUE,
         L"acd", 2, 1, 0},
        {"another root", L"<Other><Account><SiteName>s</SiteName></Account></Other>", TRUE, L"s", 0, 1, 0},
        {"deep nesting", L"<Settings>" + open + L"<Account><SiteName>s</SiteName></Account>" + close + L"</Settings>",
         kAny, L"", 0, 0, 0},
    };
    CSJUISetting* setting = CSJUISetting::GetInstance();
    ASSERT_TRUE(setting->Initialize());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(setting->LoadAccount(Bstr(kFullAccount).get()));
        const BOOL loaded = setting->LoadAccount(Bstr(c.document).get());
        CStringEx site, user, password, url(L"https://old.example/collabs/#/meetings");
        LONG remember = -1;
        setting->GetAccount(site, user, password, &remember);
        setting->GetMeetingsPageUrl(url);
        EXPECT_EQ(0, url.Find(L"https://"));
        EXPECT_EQ(url.GetLength() - 19, url.Find(L"/collabs/#/meetings"));
        setting->IsOutlookToolEnabled();
        if (c.loads == kAny) continue;
        EXPECT_EQ(c.loads, loaded);
        EXPECT_EQ(c.site, site.str());
        EXPECT_EQ(c.siteType, setting->GetSiteType());
        EXPECT_EQ(c.remember, remember);
        EXPECT_EQ(c.snapjoin, setting->IsSnapjoinEnabled());
    }
}

TEST_F(Settings, AccountChangesArriveThroughTheServiceEvent) {
    CSJUISetting* setting = CSJUISetting::GetInstance();
    ASSERT_TRUE(setting->Initialize());
    ASSERT_TRUE(setting->IsConnected());
    CMainFrame frame;  // the process-wide frame; no window is needed to receive the call
    ASSERT_EQ(S_OK, Control()->SetAccountDocument(Bstr(kFullAccount).get()));
    CStringEx site;
    setting->GetSiteName(site);
    EXPECT_STREQ(L"acme.example.com", site.c_str());
    EXPECT_EQ(kFullAccount, frame.LastAccountDocument());

    // The login module signs out to the demo account: the same path back.
    ASSERT_EQ(S_OK, Control()->ResetAccountDocument());
    setting->GetSiteName(site);
    EXPECT_STRNE(L"acme.example.com", site.c_str());
    setting->Uninitlize();
    EXPECT_FALSE(setting->IsConnected());
    EXPECT_EQ(S_OK, service.CanUnloadNow());
}

TEST_F(Settings, MeetingChangesReachTheFrameOnlyWhenItExists) {
    CSJUISetting* setting = CSJUISetting::GetInstance();
    ASSERT_TRUE(setting->Initialize());
    const wchar_t running[] = L"<meetings><meeting><meetingKey>42</meetingKey><userType>*</userType></meeting></meetings>";
    ComPtr<IQKSuiteState> meetings;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_QKMeetingComponent, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&meetings)));
    // No frame yet: accepted and dropped.
    EXPECT_EQ(S_OK, meetings->SetRunningMeetings(Bstr(L"<meetings/>").get()));
    {
        CMainFrame frame;
        EXPECT_EQ(S_OK, meetings->SetRunningMeetings(Bstr(running).get()));
        EXPECT_EQ(running, frame.LastMeetingsDocument());
    }
    EXPECT_EQ(S_OK, meetings->SetRunningMeetings(Bstr(L"<meetings/>").get())) << "after the frame is gone";
}
}  // namespace
