#pragma once
// The help module started by a host in this process with chosen start
// parameters and site settings, with web addresses going to the recorder.
#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/RegistryValues.h"
#include "helpmodule/UrlHandler.h"
#include "support/ModuleLibrary.h"
#include "support/TestSupport.h"

// What one start of the help module did.
struct HelpRun {
    HRESULT init = E_UNEXPECTED;
    std::vector<std::wstring> pages;
    bool closeRequested = false;
    LONG exitCode = -1;
    bool closedItself = false;
};

class HelpModuleTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Starts `module` (the output folder's copy when null) with these start
    // parameters, lets it run until its window is gone, and stops it.
    HelpRun Run(const std::map<std::wstring, std::wstring>& parameters, const ModuleLibrary* module = nullptr);

    // Clears the recorded pages, runs, and answers the start's result with the pages opened.
    using Outcome = std::pair<HRESULT, std::vector<std::wstring>>;
    Outcome Opened(const std::map<std::wstring, std::wstring>& parameters, const ModuleLibrary* module = nullptr) {
        urls.Clear();
        const HelpRun run = Run(parameters, module);
        // A start that opened its page closes its window and asks the host to end with 0.
        EXPECT_TRUE(run.init != S_OK || (run.closedItself && run.closeRequested && run.exitCode == 0)) << run.exitCode;
        return {run.init, run.pages};
    }

    // A text of the help module's resource library, as the module would read it.
    static std::wstring ResourceText(UINT id);
    // The lines the meetings library wrote to its call log.
    std::vector<std::wstring> MeetingLibCalls() const { return meetingLibLog.Lines(); }

    UrlHandler urls;
    SavedRegistryValues user{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit",
                             {L"SiteName", L"Zvn11Site", L"SiteType", L"siteurl", L"SupportCustomHelp", L"HelpLink"}};
    SavedRegistryValues machine{HKEY_LOCAL_MACHINE, L"SOFTWARE\\Zorvan\\Quillkit", {L"siteurl"}};
    SavedRegistryValues meetingLib{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib",
                                   {L"LibraryCurrentResult"}};
    ModuleLibrary library{testsupport::BinFolder() + L"qkSJUI.dll"};
    testsupport::EnvironmentFile meetingLibLog{L"QK_MEETINGLIB_LOG"};
};

inline const std::map<std::wstring, std::wstring> kHelp = {{L"help", L""}};
inline std::map<std::wstring, std::wstring> HelpOfType(const std::wstring& type) {
    return {{L"help", L""}, {L"helptype", type}};
}
