#include "helpmodule/HelpFixture.h"

#include <filesystem>
#include <fstream>

#include "host/HostApp.h"
#include "support/TestSupport.h"

void HelpModuleTest::SetUp() {
    ASSERT_TRUE(library.Loaded());
    user.RemoveAll();
    machine.RemoveAll();
    meetingLib.RemoveAll();
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    meetingLibLog = std::wstring(folder) + L"qk-help-meetinglib-" + std::to_wstring(::GetCurrentProcessId()) + L".log";
    ::DeleteFileW(meetingLibLog.c_str());
    ::SetEnvironmentVariableW(L"QK_MEETINGLIB_LOG", meetingLibLog.c_str());
}

void HelpModuleTest::TearDown() {
    ::SetEnvironmentVariableW(L"QK_MEETINGLIB_LOG", nullptr);
    ::DeleteFileW(meetingLibLog.c_str());
}

HelpRun HelpModuleTest::Run(const std::map<std::wstring, std::wstring>& parameters, const ModuleLibrary* module) {
    HelpRun run;
    const Microsoft::WRL::ComPtr<IVelUIModule> help = (module ? module : &library)->Create(kHelpModuleClass);
    if (!help) return run;
    CHostApp* host = new CHostApp(L"\"C:\\suite\\qkhost.exe\"", parameters);
    run.init = help->InitModule(host, nullptr);
    if (run.init == S_OK) run.closedItself = testsupport::PumpUntil([&] { return help->IsModuleClosed() != FALSE; }, 5000);
    run.closeRequested = host->CloseRequested();
    run.exitCode = host->RequestedExitCode();
    help->UninitModule();
    EXPECT_EQ(1u, host->ReferenceCount()) << "the module lets go of its host";
    host->Release();
    testsupport::PumpPending();
    run.pages = urls.OpenedPages();
    return run;
}

std::wstring HelpModuleTest::ResourceText(UINT id) {
    const HMODULE resources =
        ::LoadLibraryExW((testsupport::BinFolder() + L"qkres.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[512] = {};
    if (resources) {
        ::LoadStringW(resources, id, text, 512);
        ::FreeLibrary(resources);
    }
    return text;
}

std::vector<std::wstring> HelpModuleTest::MeetingLibCalls() const {
    std::ifstream file(std::filesystem::path(meetingLibLog), std::ios::binary);
    std::vector<std::wstring> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.emplace_back(line.begin(), line.end());  // the module's lines are ASCII
    }
    return lines;
}
