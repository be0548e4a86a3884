// The help module in this process: which page it opens for which settings,
// and how it ends.
#include <gtest/gtest.h>

#include <cstdio>

#include "helpmodule/HelpFixture.h"
#include "host/HostApp.h"
#include "module/HelpPageChooser.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kSite[] = L"acme.quillkit.example";
constexpr wchar_t kSitePages[] = L"https://acme.quillkit.example/acme/qk.php?AT=HELP&LanguageID=";
constexpr wchar_t kCustomLink[] = L"https://intranet.acme.example/meeting-help";

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
    HelpRun run = Run({{L"helptype", L"2"}});
    EXPECT_EQ(E_FAIL, run.init);
    EXPECT_TRUE(run.pages.empty());
    EXPECT_TRUE(MeetingLibCalls().empty()) << "the decision stops before the meetings library";

    user.Remove(L"SiteName");
    run = Run(kHelp);
    EXPECT_EQ(E_FAIL, run.init);
    EXPECT_EQ(std::vector<std::wstring>{HelpPages::kUserGuidePage}, run.pages) << "no site at all";
    EXPECT_EQ(nullptr, ::FindWindowW(L"VelIPCSrvClass", nullptr));
}

TEST_F(HelpModule, OwnSitePagesByHelpType) {
    user.SetText(L"SiteName", L"  http://ACME.quillkit.example/ ");
    const std::wstring language = ResourceText(52);
    ASSERT_FALSE(language.empty());
    const struct {
        const wchar_t* helpType;
        std::wstring suffix;
    } cases[] = {
        {L"1", L"Type=OI"}, {L"2", L"Type=OISMF"}, {L"", L""}, {L"5", L""}, {L"x", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helpType);
        urls.Clear();
        const HelpRun run = Run(HelpOfType(c.helpType));
        EXPECT_EQ(S_OK, run.init);
        EXPECT_TRUE(run.closedItself);
        EXPECT_EQ(std::vector<std::wstring>{kSitePages + language + c.suffix}, run.pages);
    }
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
    const struct {
        const wchar_t* helpType;
        UINT format;
    } cases[] = {{L"1", 1114}, {L"2", 1115}, {L"5", 1117}, {L"", 1113}, {L"3", 1113}, {L"0", 1113}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helpType);
        urls.Clear();
        const HelpRun run = Run(HelpOfType(c.helpType));
        EXPECT_EQ(S_OK, run.init);
        const std::wstring expected =
            Formatted(ResourceText(c.format), HelpPages::kSupportSite, HelpPages::kHelpVersion, language);
        EXPECT_EQ(0u, expected.find(L"https://")) << "the resource texts form real addresses";
        EXPECT_EQ(std::vector<std::wstring>{expected}, run.pages);
    }
}

TEST_F(HelpModule, SiteTypeTwoOpensTheUserGuideOrTheCustomLink) {
    user.SetText(L"SiteName", kSite);
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    user.SetText(L"SiteType", L"2");

    HelpRun run = Run(HelpOfType(L"1"));
    EXPECT_EQ(S_OK, run.init);
    EXPECT_EQ(std::vector<std::wstring>{HelpPages::kUserGuidePage}, run.pages) << "no custom help: the maker's guide";

    user.SetDword(L"SupportCustomHelp", 1);
    user.SetText(L"HelpLink", kCustomLink);
    urls.Clear();
    run = Run(HelpOfType(L"1"));
    EXPECT_EQ(S_OK, run.init);
    EXPECT_EQ(std::vector<std::wstring>{kCustomLink}, run.pages);
    EXPECT_EQ(0, run.exitCode);

    // A site name that is no address gives no documentation base.
    user.SetText(L"SiteName", L"acme");
    urls.Clear();
    run = Run(kHelp);
    EXPECT_EQ(E_FAIL, run.init);
    EXPECT_EQ(std::vector<std::wstring>{HelpPages::kUserGuidePage}, run.pages);
}

TEST_F(HelpModule, AbsentOrEmptySiteTypeCountsAsThree) {
    user.SetText(L"SiteName", kSite);
    const std::wstring sitePage = kSitePages + ResourceText(52) + L"Type=OISMF";
    for (const wchar_t* type : {static_cast<const wchar_t*>(nullptr), L"", L"3"}) {
        if (type)
            user.SetText(L"SiteType", type);
        else
            user.Remove(L"SiteType");
        urls.Clear();
        EXPECT_EQ(std::vector<std::wstring>{sitePage}, Run(HelpOfType(L"2")).pages);
    }
    user.SetText(L"SiteType", L"2");
    urls.Clear();
    EXPECT_EQ(std::vector<std::wstring>{HelpPages::kUserGuidePage}, Run(HelpOfType(L"2")).pages);
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
        urls.Clear();
        HelpRun run = Run(kHelp);
        EXPECT_EQ(E_FAIL, run.init) << "no site address anywhere";
        EXPECT_EQ(std::vector<std::wstring>{HelpPages::kUserGuidePage}, run.pages);

        machine.SetText(L"siteurl", L"https://acme.quillkit.example");
        urls.Clear();
        run = Run(kHelp);
        EXPECT_EQ(S_OK, run.init);
        EXPECT_EQ(std::vector<std::wstring>{kCustomLink}, run.pages);

        machine.SetText(L"siteurl", L"nowhere");
        user.SetText(L"siteurl", L"acme.quillkit.example");
        urls.Clear();
        run = Run(kHelp);
        EXPECT_EQ(S_OK, run.init) << "the user's own address comes first";
        EXPECT_EQ(std::vector<std::wstring>{kCustomLink}, run.pages);
    }
}

TEST_F(HelpModule, MissingMeetingsLibraryCountsAsNotCurrent) {
    testsupport::TempFolder folder;
    ASSERT_TRUE(folder.CopyFromBin(L"qkSJUI.dll"));
    ASSERT_TRUE(folder.CopyFromBin(L"qkres.dll"));
    user.SetText(L"SiteName", kSite);
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    HelpRun run;
    {
        const ModuleLibrary copy(folder.Path() + L"qkSJUI.dll");
        ASSERT_TRUE(copy.Loaded());
        run = Run(kHelp, &copy);
        EXPECT_EQ(E_FAIL, run.init) << "no site address for an out-of-date library";
        EXPECT_EQ(std::vector<std::wstring>{HelpPages::kUserGuidePage}, run.pages);

        user.SetText(L"siteurl", L"acme.quillkit.example");
        urls.Clear();
        run = Run(kHelp, &copy);
    }
    EXPECT_EQ(S_OK, run.init);
    EXPECT_EQ(std::vector<std::wstring>{HelpPages::kUserGuidePage}, run.pages) << "no custom help configured";
    EXPECT_TRUE(MeetingLibCalls().empty());
}

TEST_F(HelpModule, MissingResourceLibraryFailsTheStart) {
    testsupport::TempFolder folder;
    ASSERT_TRUE(folder.CopyFromBin(L"qkSJUI.dll"));
    user.SetText(L"SiteName", kSite);
    const ModuleLibrary copy(folder.Path() + L"qkSJUI.dll");
    const HelpRun run = Run(kHelp, &copy);
    EXPECT_EQ(E_FAIL, run.init);
    EXPECT_FALSE(run.closeRequested);
    EXPECT_TRUE(run.pages.empty());
}
}  // namespace
