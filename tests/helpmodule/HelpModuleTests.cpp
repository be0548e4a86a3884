// The help module in this process: which page it opens for which settings,
// and how it ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

#include "helpmodule/HelpFixture.h"
#include "host/HostApp.h"
#include "HelpPageChooser.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kSite[] = L"acme.quillkit.example";
constexpr wchar_t kSitePages[] = L"https://acme.quillkit.example/acme/qk.php?AT=HELP&LanguageID=";
constexpr wchar_t kCustomLink[] = L"https://intranet.acme.example/meeting-help";
const std::wstring kGuide = HelpPages::kUserGuidePage;

std::wstring Formatted(const std::wstring& pattern, const wchar_t* base, const wchar_t* version,
                       const std::wstring& language) {
    // The module formats with the platform's printf, where %s takes a wide text.
    std::wstring portable = pattern;
    for (size_t at = portable.find(L"%s"); at != std::wstring::npos; at = portable.find(L"%s", at + 3))
        portable.replace(at, 2, L"%ls");
    wchar_t text[1024] = {};
    std::swprintf(text, 1024, portable.c_str(), base, version, language.c_str());
    return text;
}

using HelpModule = HelpModuleTest;

TEST_F(HelpModule, NullHostCreatesNothing) {
    const ComPtr<IVelUIModule> help = library.Create(kHelpModuleClass);
    ASSERT_TRUE(help);
    EXPECT_EQ(S_OK, help->InitModule(nullptr, nullptr));
    EXPECT_TRUE(help->IsModuleClosed());
    EXPECT_EQ(nullptr, help->GetModuleWindow());
    EXPECT_EQ(E_FAIL, help->ShowModule(TRUE));
    EXPECT_EQ(nullptr, ::FindWindowW(L"VelIPCSrvClass", nullptr));
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"qkres.dll"));
    EXPECT_EQ(S_OK, help->UninitModule());
    EXPECT_TRUE(urls.OpenedPages().empty());
}

TEST_F(HelpModule, HiddenWindowOpensThePageClosesItselfAndAsksTheHostToEnd) {
    user.SetText(L"SiteName", kSite);
    const ComPtr<IVelUIModule> help = library.Create(kHelpModuleClass);
    CHostApp* host = new CHostApp(L"qkhost.exe", HelpOfType(L"1"));
    ASSERT_EQ(S_OK, help->InitModule(host, nullptr));

    const HWND window = help->GetModuleWindow();
    ASSERT_TRUE(::IsWindow(window));
    EXPECT_EQ(window, ::FindWindowW(L"VelIPCSrvClass", L"Veltra IPCSrv Hidden Window"));
    EXPECT_FALSE(::IsWindowVisible(window));
    EXPECT_EQ(nullptr, ::GetParent(window));
    EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(S_OK, help->ShowModule(TRUE));
    EXPECT_FALSE(::IsWindowVisible(window)) << "showing the help module shows nothing";
    EXPECT_NE(nullptr, ::GetModuleHandleW(L"qkres.dll"));
    EXPECT_FALSE(host->CloseRequested()) << "the window closes through the host's loop, not at once";

    EXPECT_TRUE(testsupport::PumpUntil([&] { return help->IsModuleClosed() != FALSE; }, 5000));
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(host->CloseRequested());
    EXPECT_EQ(0, host->RequestedExitCode());

    EXPECT_EQ(S_OK, help->UninitModule());
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"qkres.dll"));
    EXPECT_EQ(1u, host->ReferenceCount());
    host->Release();
    testsupport::PumpPending();
    EXPECT_EQ(std::vector<std::wstring>{kSitePages + ResourceText(52) + L"Type=OI"}, urls.OpenedPages());
}

TEST_F(HelpModule, WithoutTheHelpParameterOrASiteItFails) {
    user.SetText(L"SiteName", kSite);
    EXPECT_EQ(Outcome(E_FAIL, {}), Opened({{L"helptype", L"2"}}));
    EXPECT_TRUE(MeetingLibCalls().empty()) << "the decision stops before the meetings library";
    user.Remove(L"SiteName");
    EXPECT_EQ(Outcome(E_FAIL, {kGuide}), Opened(kHelp)) << "no site at all";
    EXPECT_EQ(nullptr, ::FindWindowW(L"VelIPCSrvClass", nullptr));
}

TEST_F(HelpModule, OwnSitePagesByHelpType) {
    user.SetText(L"SiteName", L"  http://ACME.quillkit.example/ ");
    const std::wstring page = kSitePages + ResourceText(52);
    ASSERT_NE(page, kSitePages);
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"1", L"Type=OI"}, {L"2", L"Type=OISMF"}, {L"", L""}, {L"5", L""}, {L"x", L""}};
    for (const auto& [helpType, suffix] : cases)
        EXPECT_EQ(Outcome(S_OK, {page + suffix}), Opened(HelpOfType(helpType))) << helpType;
    // The meetings library was asked once per start whether it is current.
    const auto calls = MeetingLibCalls();
    ASSERT_EQ(std::size(cases), calls.size());
    EXPECT_EQ(L"IsLibraryCurrent\tanswer=0", calls[0]);
}

TEST_F(HelpModule, NewerSitePagesByHelpType) {
    user.SetText(L"SiteName", kSite);  // the newer site wins over the older one
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    const std::wstring language = ResourceText(1116);
    ASSERT_FALSE(language.empty());
    const std::pair<const wchar_t*, UINT> cases[] = {{L"1", 1114}, {L"2", 1115}, {L"5", 1117},
                                                     {L"", 1113},  {L"3", 1113}, {L"0", 1113}};
    for (const auto& [helpType, format] : cases) {
        const std::wstring expected =
            Formatted(ResourceText(format), HelpPages::kSupportSite, HelpPages::kHelpVersion, language);
        EXPECT_EQ(0u, expected.find(L"https://")) << "the resource texts form real addresses";
        EXPECT_EQ(Outcome(S_OK, {expected}), Opened(HelpOfType(helpType))) << helpType;
    }
}

TEST_F(HelpModule, SiteTypeTwoOpensTheUserGuideOrTheCustomLink) {
    user.SetText(L"SiteName", kSite);
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    user.SetText(L"SiteType", L"2");
    EXPECT_EQ(Outcome(S_OK, {kGuide}), Opened(HelpOfType(L"1"))) << "no custom help: the maker's guide";
    user.SetDword(L"SupportCustomHelp", 1);
    user.SetText(L"HelpLink", kCustomLink);
    EXPECT_EQ(Outcome(S_OK, {kCustomLink}), Opened(HelpOfType(L"1")));
    // A site name that is no address gives no documentation base.
    user.SetText(L"SiteName", L"acme");
    EXPECT_EQ(Outcome(E_FAIL, {kGuide}), Opened(kHelp));
}

TEST_F(HelpModule, AbsentOrEmptySiteTypeCountsAsThree) {
    user.SetText(L"SiteName", kSite);
    const Outcome sitePage(S_OK, {kSitePages + ResourceText(52) + L"Type=OISMF"});
    EXPECT_EQ(sitePage, Opened(HelpOfType(L"2")));
    for (const wchar_t* type : {L"", L"3"}) {
        user.SetText(L"SiteType", type);
        EXPECT_EQ(sitePage, Opened(HelpOfType(L"2"))) << type;
    }
    user.SetText(L"SiteType", L"2");
    EXPECT_EQ(Outcome(S_OK, {kGuide}), Opened(HelpOfType(L"2")));
}

TEST_F(HelpModule, LibraryNotCurrentTakesTheSiteAddressFromEitherHive) {
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    user.SetDword(L"SupportCustomHelp", 1);
    user.SetText(L"HelpLink", kCustomLink);
    for (const DWORD answer : {static_cast<DWORD>(E_FAIL), static_cast<DWORD>(S_FALSE)}) {
        SCOPED_TRACE(answer);
        meetingLib.SetDword(L"LibraryCurrentResult", answer);
        user.Remove(L"siteurl");
        machine.Remove(L"siteurl");
        EXPECT_EQ(Outcome(E_FAIL, {kGuide}), Opened(kHelp)) << "no site address anywhere";
        machine.SetText(L"siteurl", L"https://acme.quillkit.example");
        EXPECT_EQ(Outcome(S_OK, {kCustomLink}), Opened(kHelp));
        machine.SetText(L"siteurl", L"nowhere");
        user.SetText(L"siteurl", L"acme.quillkit.example");
        EXPECT_EQ(Outcome(S_OK, {kCustomLink}), Opened(kHelp)) << "the user's own address comes first";
    }
}

TEST_F(HelpModule, MissingMeetingsOrResourceLibrary) {
    testsupport::TempFolder folder;
    ASSERT_TRUE(folder.CopyFromBin(L"qkSJUI.dll"));
    user.SetText(L"SiteName", kSite);
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    {
        const ModuleLibrary copy(folder.Path() + L"qkSJUI.dll");
        const HelpRun run = Run(kHelp, &copy);
        EXPECT_EQ(E_FAIL, run.init) << "no resource library";
        EXPECT_FALSE(run.closeRequested);
        EXPECT_TRUE(run.pages.empty());
    }
    ASSERT_TRUE(folder.CopyFromBin(L"qkres.dll"));
    const ModuleLibrary copy(folder.Path() + L"qkSJUI.dll");
    ASSERT_TRUE(copy.Loaded());
    // A missing meetings library counts as out of date, which needs a site address.
    EXPECT_EQ(Outcome(E_FAIL, {kGuide}), Opened(kHelp, &copy));
    user.SetText(L"siteurl", L"acme.quillkit.example");
    EXPECT_EQ(Outcome(S_OK, {kGuide}), Opened(kHelp, &copy)) << "no custom help configured";
    EXPECT_TRUE(MeetingLibCalls().empty());
}
}  // namespace

namespace {
// A damaged value of each setting the help module reads is taken as absent:
// the module opens the page (or ends with the code) it would without it.
TEST_F(HelpModule, DamagedSettingsReadAsAbsent) {
    struct Setting {
        const wchar_t* name;
        bool number;
        std::function<void()> arrange;  // settings under which this one decides the page
    };
    const auto managed = [&] {
        user.SetText(L"SiteName", kSite);
        user.SetText(L"SiteType", L"2");
        user.SetDword(L"SupportCustomHelp", 1);
        user.SetText(L"HelpLink", kCustomLink);
    };
    const Setting settings[] = {
        {L"SiteName", false, [&] { user.SetText(L"SiteName", kSite); }},
        {L"Zvn11Site", false,
         [&] {
             user.SetText(L"SiteName", kSite);
             user.SetText(L"Zvn11Site", L"acme.zvn11.example");
         }},
        {L"SiteType", false, managed},
        {L"siteurl", false,
         [&] {
             user.SetText(L"SiteName", kSite);
             user.SetText(L"siteurl", kSite);
             meetingLib.SetDword(L"LibraryCurrentResult", static_cast<DWORD>(E_FAIL));
         }},
        {L"SupportCustomHelp", true, managed},
        {L"HelpLink", false, managed},
    };
    struct Result {
        HRESULT init;
        std::vector<std::wstring> pages;
        LONG exitCode;
        bool operator==(const Result&) const = default;
    };
    const auto run = [&] {
        urls.Clear();
        const HelpRun r = Run(HelpOfType(L"2"));
        return Result{r.init, r.pages, r.exitCode};
    };
    for (const Setting& setting : settings) {
        user.RemoveAll();
        machine.RemoveAll();
        meetingLib.RemoveAll();
        setting.arrange();
        user.Remove(setting.name);
        const Result absent = run();
        for (const RawRegistryValue& damage : setting.number ? DamagedNumbers() : DamagedTexts()) {
            ASSERT_TRUE(user.SetRaw(setting.name, damage.type, damage.data));
            EXPECT_EQ(absent, run()) << "value " << testing::PrintToString(std::wstring(setting.name)) << " of type "
                                     << damage.type << ", " << damage.data.size() << " bytes";
        }
    }
}
}  // namespace
