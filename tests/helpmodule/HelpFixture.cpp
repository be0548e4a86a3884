#include "helpmodule/HelpFixture.h"

#include "host/HostApp.h"
#include "support/TestSupport.h"

void HelpModuleTest::SetUp() {
    ASSERT_TRUE(library.Loaded());
    user.RemoveAll();
    machine.RemoveAll();
    meetingLib.RemoveAll();
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
    EXPECT_EQ(nullptr, ::GetModuleHandleW(L"qkres.dll")) << "and of its resource library";
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
