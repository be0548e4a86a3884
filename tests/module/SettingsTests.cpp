// The account settings against the suite's real settings service, registered
// for the test, with trace lines read back from the trace library's log file.
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

// Trace lines go to a file of the test's own through the real trace library,
// each record ending in a bare line feed: the file reads as one text.
bool Traced(const testsupport::EnvironmentFile& log, const std::wstring& levelAndText) {
    const std::vector<std::wstring> text = log.Lines();
    return !text.empty() && text[0].find(levelAndText) != std::wstring::npos;
}

// An event source with one connection point. A stubborn one keeps its sink:
// Unadvise fails, as it may for a source that has gone wrong, and its events
// still go out.
class EventSource final : public IConnectionPointContainer, public IConnectionPoint {
public:
    explicit EventSource(bool stubborn) : m_stubborn(stubborn) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IConnectionPointContainer)
            *object = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_IConnectionPoint)
            *object = static_cast<IConnectionPoint*>(this);
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID, IConnectionPoint** point) override {
        *point = this;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        m_sink = static_cast<IDispatch*>(static_cast<void*>(sink));
        *cookie = 7;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return m_stubborn ? E_FAIL : S_OK; }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    [[nodiscard]] IDispatch* Sink() const noexcept { return m_sink; }
    HRESULT Fire(DISPID id, const wchar_t* text) const {
        Variant argument{std::wstring_view(text)};
        VARIANTARG arguments[1] = {argument.get()};
        DISPPARAMS parameters{arguments, nullptr, 1, 0};
        return m_sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    }

private:
    bool m_stubborn;
    IDispatch* m_sink = nullptr;
};

class ReportingSink final : public CConnectPointSink<ReportingSink> {
public:
    explicit ReportingSink(bool& deleted) : m_deleted(deleted) {}
    ~ReportingSink() override { m_deleted = true; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return S_OK;
    }

private:
    bool& m_deleted;
};

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
    EXPECT_TRUE(setting->IsSiteType2());
    EXPECT_FALSE(setting->IsZ11SiteNameEmpty());
    EXPECT_EQ(1, setting->IsDeskreachEnabled());
    EXPECT_EQ(1, setting->IsSnapjoinEnabled());
    EXPECT_TRUE(setting->IsOutlookToolEnabled());
    CStringEx url(L"old");
    EXPECT_TRUE(setting->GetMeetingsPageUrl(url));
    EXPECT_STREQ(L"https://a.b.c/x/collabs/#/meetings", url.c_str());
    EXPECT_FALSE(Traced(log, L"L2  Get"));

    setting->Uninitlize();
    EXPECT_FALSE(setting->IsOutlookToolEnabled()) << "no account root after Uninitlize";
    EXPECT_TRUE(setting->GetSiteName(site));
    EXPECT_STREQ(L"acme.example.com", site.c_str()) << "fields keep their last values";
    EXPECT_EQ(S_OK, service.CanUnloadNow()) << "every service object was released";
}

TEST_F(Settings, MissingFieldsTakeTheirDefaultsAndAreTraced) {
    CSJUISetting* setting = CSJUISetting::GetInstance();
    ASSERT_TRUE(setting->Initialize());
    log.Remove();
    ASSERT_TRUE(setting->LoadAccount(Bstr(L"<Settings><Account><SiteName>s.example</SiteName></Account></Settings>").get()));
    CStringEx site, user, password;
    LONG remember = 0;
    setting->GetAccount(site, user, password, &remember);
    EXPECT_EQ(1, remember);
    EXPECT_EQ(0u, setting->GetSiteType());
    EXPECT_TRUE(user.IsEmpty());
    EXPECT_TRUE(setting->IsZ11SiteNameEmpty());
    EXPECT_FALSE(setting->IsOutlookToolEnabled());
    CStringEx url(L"keep me");
    setting->GetMeetingsPageUrl(url);
    EXPECT_STREQ(L"keep me", url.c_str());

    EXPECT_TRUE(Traced(log, L"L2  Get Remember failed in the SJUISetting,"));
    EXPECT_TRUE(Traced(log, L"L2  Get User Name failed in the SJUISetting,"));
    EXPECT_TRUE(Traced(log, L"L2  Get SJ Enabled flag failed in the SJUISetting,"));
    EXPECT_FALSE(Traced(log, L"L2  Get Site Name failed"));
    EXPECT_FALSE(Traced(log, L"SiteType")) << "a missing site type is not traced";
}

TEST_F(Settings, MalformedDocumentKeepsTheOldFields) {
    CSJUISetting* setting = CSJUISetting::GetInstance();
    ASSERT_TRUE(setting->LoadAccount(nullptr) == FALSE) << "no service before Initialize";
    ASSERT_TRUE(setting->Initialize());
    ASSERT_TRUE(setting->LoadAccount(Bstr(kFullAccount).get()));
    for (const wchar_t* bad : {L"<Settings><Account>", L"", L"not xml at all"}) {
        EXPECT_FALSE(setting->LoadAccount(Bstr(bad).get()));
        CStringEx site;
        setting->GetSiteName(site);
        EXPECT_STREQ(L"acme.example.com", site.c_str());
        EXPECT_EQ(2u, setting->GetSiteType());
        EXPECT_FALSE(setting->IsOutlookToolEnabled()) << "the failed document has no root";
    }
}

// Account documents as a broken or hostile settings service may hand them out:
// what parses is read field by field with the defaults for what is missing or
// mistyped; what does not parse leaves the previous account in place.
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
        {"only a declaration", L"<?xml version=\"1.0\"?>", FALSE, L"acme.example.com", 2, 0, 1},
        {"ten thousand accounts", L"<Settings>" + many + L"</Settings>", TRUE, L"s0", 0, 1, 0},
        {"huge site name", account(L"<SiteName>" + longSite + L"</SiteName><Z11SiteName>z." + longSite +
                                   L"</Z11SiteName>"),
         TRUE, longSite, 0, 1, 0},
        {"wrongly typed fields",
         account(L"<SiteName>s</SiteName><Remember>yes</Remember><SiteType>-1</SiteType>"
                 L"<SnapjoinEnable>maybe</SnapjoinEnable><DeskreachEnable>99999999999999999999</DeskreachEnable>"),
         TRUE, L"s", 0xFFFFFFFFu, 0, 0},
        {"site type beyond range", account(L"<SiteType>99999999999999999999</SiteType>"), TRUE, L"", 0xFFFFFFFFu, 1,
         0},
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

TEST_F(Settings, UnregisteredServiceFailsInitialisation) {
    ASSERT_EQ(S_OK, service.UnregisterServer());
    log.Remove();
    CSJUISetting* setting = CSJUISetting::GetInstance();
    EXPECT_FALSE(setting->Initialize());
    EXPECT_TRUE(Traced(log, L"L8  Create qkService failed! hr=%u,(void*)hr=0x0000000080040154,"));
    EXPECT_FALSE(setting->LoadAccount(Bstr(kFullAccount).get()));
    EXPECT_EQ(3u, setting->GetSiteType());
    EXPECT_EQ(0, setting->IsDeskreachEnabled());
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

TEST_F(Settings, AccountEventWithWrongArgumentsIsRefused) {
    CSJUISetting* setting = CSJUISetting::GetInstance();
    ASSERT_TRUE(setting->Initialize());
    CMainFrame frame;
    auto invoke = [&](DISPID id, std::vector<VARIANTARG> arguments) {
        DISPPARAMS parameters{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
        return setting->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    };
    Variant one{std::wstring_view(kFullAccount)};
    Variant two{std::wstring_view(L"<x/>")};
    VARIANTARG nullText{};
    nullText.vt = VT_BSTR;
    EXPECT_EQ(E_INVALIDARG, invoke(4, {one.get(), two.get()}));
    EXPECT_EQ(E_INVALIDARG, invoke(4, {nullText}));
    EXPECT_EQ(E_INVALIDARG, invoke(4, {}));
    EXPECT_EQ(S_OK, invoke(5, {})) << "other dispatch ids are ignored";
    EXPECT_TRUE(frame.LastAccountDocument().empty());
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

TEST(SettingsSink, AnswersOnlyItsInterfacesAndIsNotCounted) {
    CSJUISetting* setting = CSJUISetting::GetInstance();
    // A connection attempt names the event interface the sink answers for, even without a source.
    ASSERT_FALSE(setting->Connect(nullptr, &DIID_QKAccountEvents));
    void* object = nullptr;
    for (const IID& iid : {IID_IUnknown, IID_IDispatch, DIID_QKAccountEvents}) {
        EXPECT_EQ(S_OK, setting->QueryInterface(iid, &object));
        EXPECT_EQ(static_cast<IDispatch*>(setting), object);
    }
    EXPECT_EQ(E_NOINTERFACE, setting->QueryInterface(DIID_QKMeetingEvents, &object));
    EXPECT_EQ(nullptr, object);
    // The process-wide object lives until ReleaseInstance, whatever its sources do.
    EXPECT_EQ(1u, setting->AddRef());
    EXPECT_EQ(0u, setting->Release());
    CSJUISetting::ReleaseInstance();
}
// Deleting a sink its source still holds would send the next event to freed
// memory: such a sink is kept, the account settings among them.
TEST(SettingsSink, OneItsSourceWillNotReleaseIsKept) {
    for (const bool stubborn : {false, true}) {
        EventSource source(stubborn);
        bool deleted = false;
        auto* sink = new ReportingSink(deleted);
        ASSERT_TRUE(sink->Connect(static_cast<IConnectionPointContainer*>(&source), &DIID_QKMeetingEvents));
        DeleteSink(sink);
        EXPECT_EQ(!stubborn, deleted) << stubborn;
    }

    EventSource source(true);
    CSJUISetting* setting = CSJUISetting::GetInstance();
    ASSERT_TRUE(setting->Connect(static_cast<IConnectionPointContainer*>(&source), &DIID_QKAccountEvents));
    ASSERT_EQ(static_cast<IDispatch*>(setting), source.Sink());
    CSJUISetting::ReleaseInstance();
    EXPECT_EQ(nullptr, CSJUISetting::Existing()) << "the next start gets a fresh object";
    CMainFrame frame;
    EXPECT_EQ(S_OK, source.Fire(4, kFullAccount));
    EXPECT_EQ(kFullAccount, frame.LastAccountDocument());
}
}  // namespace
