#include "HelpPageChooser.h"

#include <wrl/client.h>

#include <cwchar>

#include "QkMeetingLibs.h"
#include "ComHolders.h"
#include "DLLHandle.h"
#include "ModuleState.h"
#include "Registry.h"
#include "SiblingObject.h"
#include "SiteUrl.h"
#include "Trace.h"

namespace {
constexpr long kManagedSiteType = 2;
constexpr long kDefaultSiteType = 3;

CStringEx ReadUserText(const wchar_t* name) {
    CStringEx value;
    CRegistry::ReadStringEx(HKEY_CURRENT_USER, kQuillkitKey, name, &value);
    return value;
}

// "host/docs" of a site, or empty when the text names no site.
CStringEx DocumentationBase(CStringEx site) {
    CStringEx base;
    if (!NormalizeSiteUrl(site)) return base;
    CStringEx host, siteName;
    SplitSiteUrl(site, host, siteName);
    if (!host.IsEmpty()) base.Format(L"%s/docs", host.c_str());
    return base;
}
}  // namespace

long DecimalOr(const CStringEx& text, long empty) {
    if (text.IsEmpty()) return empty;
    return std::wcstol(text.c_str(), nullptr, 10);
}

bool IsMeetingLibraryCurrent() {
    CDLLHandle library(L"qkIstMt.dll", ModuleState::Instance());
    Microsoft::WRL::ComPtr<IQKMeetingPages> pages;
    const HRESULT created = CreateSiblingObject(library.Handle(), CLSID_QKMeetingPages, __uuidof(IQKMeetingPages),
                                                reinterpret_cast<void**>(pages.GetAddressOf()));
    if (FAILED(created) || !pages) {
        TraceText(8, "CQKIPCSrvUIModule::OnCreate: meetings library not available");
        return false;
    }
    const bool current = pages->IsLibraryCurrent() == S_OK;
    pages.Reset();  // before the library goes
    return current;
}

HelpChoice CHelpPageChooser::Choose(IVelModuleHost* host) const {
    HelpChoice choice;
    Bstr value;
    if (FAILED(host->GetParameter(Bstr(L"help").get(), value.receive()))) {
        TraceText(8, "CQKIPCSrvUIModule::OnCreate: no help parameter");
        choice.proceed = false;
        return choice;
    }
    value.reset();
    host->GetParameter(Bstr(L"helptype").get(), value.receive());
    const long helpType = DecimalOr(CStringEx(value.c_str()), 0);

    const CStringEx siteName = ReadUserText(L"SiteName");
    const CStringEx newerSite = ReadUserText(L"Zvn11Site");
    if (siteName.IsEmpty() && newerSite.IsEmpty()) {
        TraceText(8, "CQKIPCSrvUIModule::OnCreate: no site configured");
        choice.target = HelpPages::kUserGuidePage;
        choice.proceed = false;
        return choice;
    }

    const bool libraryCurrent = IsMeetingLibraryCurrent();
    const long siteType = DecimalOr(ReadUserText(L"SiteType"), kDefaultSiteType);
    if (siteType == kManagedSiteType || !libraryCurrent) return ChooseManaged(libraryCurrent, siteName);
    if (!newerSite.IsEmpty()) {
        choice.target = NewerSitePage(helpType);
        return choice;
    }
    choice.target = SitePage(helpType, siteName);
    return choice;
}

HelpChoice CHelpPageChooser::ChooseManaged(bool libraryCurrent, const CStringEx& siteName) const {
    HelpChoice choice;
    CStringEx site = siteName;
    if (!libraryCurrent) {
        site = ReadUserText(L"siteurl");
        if (site.IsEmpty()) CRegistry::ReadStringEx(HKEY_LOCAL_MACHINE, kQuillkitKey, L"siteurl", &site);
    }
    if (DocumentationBase(site).IsEmpty()) {
        TraceText(8, "CQKIPCSrvUIModule::OnCreate: no documentation base");
        choice.target = HelpPages::kUserGuidePage;
        choice.proceed = false;
        return choice;
    }
    DWORD customHelp = 0;
    CRegistry::ReadDword(HKEY_CURRENT_USER, kQuillkitKey, L"SupportCustomHelp", &customHelp);
    if (customHelp == 0) {
        choice.target = HelpPages::kUserGuidePage;
        return choice;
    }
    choice.target = ReadUserText(L"HelpLink");
    if (choice.target.IsEmpty()) {
        TraceText(8, "CQKIPCSrvUIModule::OnCreate: custom help link missing");
        choice.customLinkMissing = true;
    }
    return choice;
}

CStringEx CHelpPageChooser::NewerSitePage(long helpType) const {
    UINT format = HelpPages::kGeneralHelpString;
    switch (helpType) {
    case 1: format = HelpPages::kMeetingsHelpString; break;
    case 2: format = HelpPages::kSchedulingHelpString; break;
    case 5: format = HelpPages::kSettingsHelpString; break;
    default: break;
    }
    CStringEx language = ResourceText(HelpPages::kLanguageString);
    if (language.IsEmpty()) language = HelpPages::kDefaultLanguage;
    CStringEx page;
    const CStringEx pattern = ResourceText(format);
    if (!pattern.IsEmpty()) page.Format(pattern.c_str(), HelpPages::kSupportSite, HelpPages::kHelpVersion, language.c_str());
    return page;
}

CStringEx CHelpPageChooser::SitePage(long helpType, const CStringEx& siteName) const {
    CStringEx base = siteName;
    CStringEx page;
    // A name that is no site address would make the shell look for a file.
    if (!NormalizeSiteUrl(base) || base.Find(L"https://") != 0) return CStringEx(HelpPages::kUserGuidePage);
    const CStringEx language = ResourceText(HelpPages::kSiteLanguageString);
    const wchar_t* pattern = L"%s/qk.php?AT=HELP&LanguageID=%s";
    if (helpType == 1) pattern = L"%s/qk.php?AT=HELP&LanguageID=%sType=OI";
    if (helpType == 2) pattern = L"%s/qk.php?AT=HELP&LanguageID=%sType=OISMF";
    page.Format(pattern, base.c_str(), language.c_str());
    return page;
}

CStringEx CHelpPageChooser::ResourceText(UINT id) const {
    CStringEx text;
    if (m_resources) text.LoadString(m_resources, id);
    return text;
}
