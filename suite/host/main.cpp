// qkhost.exe: runs one user-interface module of the suite on this thread.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <cstdio>
#include <vector>

#include "ComHolders.h"
#include "host/HostApp.h"
#include "host/HostOptions.h"
#include "host/MessageLoop.h"
#include "host/ModuleLoader.h"

namespace {
// Exit codes of the host itself, apart from the codes a module asks for.
enum HostExit : int { kBadCommandLine = 64, kModuleNotCreated = 65, kInitFailed = 66 };

std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* raw = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 0; raw && i < count; ++i) arguments.emplace_back(raw[i]);
    if (raw) ::LocalFree(raw);
    return arguments;
}

class OleScope {
public:
    OleScope() : m_ok(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleScope() {
        if (m_ok) ::OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    bool m_ok;
};

// Closes the host at the first idle moment after the module started: every
// message the start left queued has been handled by then.
class QuitWhenIdle final : public CIdleHandler {
public:
    explicit QuitWhenIdle(CHostApp& host) : m_host(host) {}
    BOOL OnIdle() override {
        if (!m_done) m_host.CloseHost(0);
        m_done = true;
        return FALSE;
    }

private:
    CHostApp& m_host;
    bool m_done = false;
};

int RunHost(const HostOptions& options) {
    LoadedModule loaded;
    HRESULT hr = LoadUIModule(options.module, options.dllPath, loaded);
    if (FAILED(hr)) {
        std::fwprintf(stderr, L"qkhost: cannot create module %ls: 0x%08lX\n", options.module.c_str(),
                      static_cast<unsigned long>(hr));
        return kModuleNotCreated;
    }

    const auto host = AdoptReference(new CHostApp(options.moduleCommandLine, options.parameters));
    hr = loaded.module->InitModule(host.Get(), nullptr);
    int exitCode = kInitFailed;
    if (hr == S_OK) {
        QuitWhenIdle quit(*host.Get());
        if (options.quitWhenReady) host->AddIdleHandler(&quit);
        exitCode = RunMessageLoop(*host.Get());
        host->RemoveIdleHandler(&quit);
    } else {
        std::fwprintf(stderr, L"qkhost: InitModule answered 0x%08lX\n", static_cast<unsigned long>(hr));
    }
    loaded.module->UninitModule();
    loaded.module.Reset();
    return exitCode;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    const HostOptions options = ParseHostOptions(Arguments());
    if (!options.error.empty()) {
        std::fwprintf(stderr, L"qkhost: %ls\n", options.error.c_str());
        return kBadCommandLine;
    }
    OleScope ole;
    try {
        return RunHost(options);
    } catch (...) {
        std::fwprintf(stderr, L"qkhost: unexpected failure\n");
        return kInitFailed;
    }
}
