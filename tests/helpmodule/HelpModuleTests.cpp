// The help module in this process: which page it opens for which settings,
// and how it ends.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <tuple>
#include <vector>

#include "helpmodule/HelpFixture.h"
#include "HelpPageChooser.h"
#include "support/TestSupport.h"


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
    user.SetText(L"SiteType", L"");  // as absent: 3, a site of its own
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
    user.SetText(L"HelpLink", L"");
    urls.Clear();
    const HelpRun missingLink = Run(HelpOfType(L"1"));
    EXPECT_EQ(404, missingLink.exitCode) << "a custom help without its link";
    EXPECT_TRUE(missingLink.pages.empty());
    // A site name that is no address gives no documentation base.
    user.SetText(L"SiteName", L"acme");
    EXPECT_EQ(Outcome(E_FAIL, {kGuide}), Opened(kHelp));
}

TEST_F(HelpModule, LibraryNotCurrentTakesTheSiteAddressFromEitherHive) {
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    user.SetDword(L"SupportCustomHelp", 1);
    user.SetText(L"HelpLink", kCustomLink);
    // Only S_OK means current: a success that is not S_OK does not.
    meetingLib.SetDword(L"LibraryCurrentResult", static_cast<DWORD>(S_FALSE));
    EXPECT_EQ(Outcome(E_FAIL, {kGuide}), Opened(kHelp)) << "no site address anywhere";
    machine.SetText(L"siteurl", L"https://acme.quillkit.example");
    EXPECT_EQ(Outcome(S_OK, {kCustomLink}), Opened(kHelp));
    machine.SetText(L"siteurl", L"nowhere");
    user.SetText(L"siteurl", L"acme.quillkit.example");
    EXPECT_EQ(Outcome(S_OK, {kCustomLink}), Opened(kHelp)) << "the user's own address comes first";
}

// Without its resource library the module refuses: faults_neighbours.
TEST_F(HelpModule, MissingMeetingsLibrary) {
    testsupport::TempFolder folder;
    ASSERT_TRUE(folder.CopyFromBin(L"qkSJUI.dll"));
    user.SetText(L"SiteName", kSite);
    user.SetText(L"Zvn11Site", L"acme.zvn11.example");
    ASSERT_TRUE(folder.CopyFromBin(L"qkres.dll"));
    const ModuleLibrary copy(folder.Path() + L"qkSJUI.dll");
    ASSERT_TRUE(copy.Loaded());
    // A missing meetings library counts as out of date, which needs a site address.
    EXPECT_EQ(Outcome(E_FAIL, {kGuide}), Opened(kHelp, &copy));
    user.SetText(L"siteurl", L"acme.quillkit.example");
    EXPECT_EQ(Outcome(S_OK, {kGuide}), Opened(kHelp, &copy)) << "no custom help configured";
    EXPECT_TRUE(MeetingLibCalls().empty());
}

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
    const auto run = [&] {
        urls.Clear();
        const HelpRun r = Run(HelpOfType(L"2"));
        return std::make_tuple(r.init, r.pages, r.exitCode);
    };
    for (const Setting& setting : settings) {
        user.RemoveAll();
        machine.RemoveAll();
        meetingLib.RemoveAll();
        setting.arrange();
        user.Remove(setting.name);
        const auto absent = run();
        for (const RawRegistryValue& damage : setting.number ? DamagedNumbers() : DamagedTexts()) {
            ASSERT_TRUE(user.SetRaw(setting.name, damage.type, damage.data));
            EXPECT_EQ(absent, run()) << "value " << testing::PrintToString(std::wstring(setting.name)) << " of type "
                                     << damage.type << ", " << damage.data.size() << " bytes";
        }
    }
}
}  // namespace
