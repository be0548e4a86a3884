#pragma once
// Which help page the help module opens, decided from the host's start
// parameters, the user's site settings and the meetings library.
#include <windows.h>

#include "VelModuleHost.h"
#include "StringEx.h"
#include "ResourceIds.h"

namespace HelpPages {
// The maker's own pages, for users whose site has no help of its own.
inline constexpr const wchar_t* kUserGuidePage = L"https://support.quillkit.example/guide/desktop-client";
inline constexpr const wchar_t* kSupportSite = L"https://support.quillkit.example";
inline constexpr const wchar_t* kHelpVersion = L"v1.2";
inline constexpr const wchar_t* kDefaultLanguage = L"en_US";

// Resource strings of the help module's resource library.
inline constexpr UINT kSiteLanguageString = IDS_HELP_SITE_LANGUAGE;
inline constexpr UINT kGeneralHelpString = IDS_HELP_GENERAL;
inline constexpr UINT kMeetingsHelpString = IDS_HELP_MEETINGS;
inline constexpr UINT kSchedulingHelpString = IDS_HELP_SCHEDULING;
inline constexpr UINT kLanguageString = IDS_HELP_LANGUAGE;
inline constexpr UINT kSettingsHelpString = IDS_HELP_SETTINGS;

// The exit code that tells the caller a required custom help link is missing.
inline constexpr LONG kCustomLinkMissing = 404;
}  // namespace HelpPages

struct HelpChoice {
    // False makes the hidden window's creation fail.
    bool proceed = true;
    // The page to open; empty when none opens.
    CStringEx target;
    bool customLinkMissing = false;
};

class CHelpPageChooser {
public:
    explicit CHelpPageChooser(HINSTANCE resources) noexcept : m_resources(resources) {}

    [[nodiscard]] HelpChoice Choose(IVelModuleHost* host) const;

private:
    // Sites the administrator manages: the documentation lives with the site,
    // and only the administrator's own link is opened.
    [[nodiscard]] HelpChoice ChooseManaged(bool libraryCurrent, const CStringEx& siteName) const;
    [[nodiscard]] CStringEx NewerSitePage(long helpType) const;
    [[nodiscard]] CStringEx SitePage(long helpType, const CStringEx& siteName) const;
    [[nodiscard]] CStringEx ResourceText(UINT id) const;

    HINSTANCE m_resources;
};

// The start parameter or registry text as a decimal number; `empty` when it is empty.
long DecimalOr(const CStringEx& text, long empty);
// Whether the meetings library beside the module is there and says it is current.
bool IsMeetingLibraryCurrent();
