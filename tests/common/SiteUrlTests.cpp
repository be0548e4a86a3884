// Site addresses typed by users, in the forms the suite needs.
#include <gtest/gtest.h>

#include "SiteUrl.h"

namespace {
struct UrlCase {
    const wchar_t* input;
    BOOL ok;
    const wchar_t* output;
};

TEST(SiteUrl, MakeHttpsUrl) {
    for (const UrlCase& c : {UrlCase{L"HTTPS://A.b", TRUE, L"https://A.b"},
                             UrlCase{L"  site.example.com ", TRUE, L"https://site.example.com"},
                             UrlCase{L"HtTp://x.y/path", TRUE, L"https://x.y/path"}, UrlCase{L"a.", FALSE, L"a."},
                             UrlCase{L"  .  ", FALSE, L"  .  "}}) {
        CStringEx url(c.input);
        EXPECT_EQ(c.ok, MakeHttpsUrl(url)) << testing::PrintToString(std::wstring(c.input));
        EXPECT_STREQ(c.output, url.c_str());
    }
}

TEST(SiteUrl, SplitSiteUrl) {
    struct Case {
        const wchar_t* url;
        BOOL ok;
        const wchar_t* host;
        const wchar_t* site;
    };
    for (const Case& c : {Case{L"a.b.c", TRUE, L"a.b.c", L"a"},
                          Case{L" HTTP://host.example.com/team/ ", TRUE, L"host.example.com", L"team"},
                          Case{L"http://localhost", FALSE, L"localhost", L""}, Case{L"https://.b.c", FALSE, L".b.c", L""},
                          Case{L"https:///x", FALSE, L"", L"x"}}) {
        CStringEx host(L"old"), site(L"old");
        EXPECT_EQ(c.ok, SplitSiteUrl(CStringEx(c.url), host, site)) << testing::PrintToString(std::wstring(c.url));
        EXPECT_STREQ(c.host, host.c_str());
        EXPECT_STREQ(c.site, site.c_str());
    }
}

TEST(SiteUrl, NormalizeSiteUrl) {
    for (const UrlCase& c :
         {UrlCase{L"ftp://files.example.com/x", TRUE, L"ftp://files.example.com/x"},
          UrlCase{L"HTTP://A.B.C/zorvan/", TRUE, L"https://a.b.c/a"},
          UrlCase{L" .team.example.com./ ", TRUE, L"https://team.example.com/team"},
          UrlCase{L"https://x.y/zorvan/more", TRUE, L"https://x.y/zorvan/more"}, UrlCase{L"a.b", FALSE, L"a.b"},
          UrlCase{L"//\\\\..", FALSE, L""}}) {
        CStringEx url(c.input);
        EXPECT_EQ(c.ok, NormalizeSiteUrl(url)) << testing::PrintToString(std::wstring(c.input));
        EXPECT_STREQ(c.output, url.c_str());
    }
}
}  // namespace
