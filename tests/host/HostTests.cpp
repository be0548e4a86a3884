// The host program's command line and the host object's message loop. What
// the host answers the module (command line, start parameters, the event bus)
// is checked by the module's own tests, which use the real host object.
#include <windows.h>
#include <shellapi.h>

#include <functional>

#include <gtest/gtest.h>

#include "host/HostApp.h"
#include "host/HostOptions.h"
#include "host/MessageLoop.h"

namespace {
TEST(HostOptions, SeparatesTheHostsOptionsFromTheModulesArguments) {
    const HostOptions options = ParseHostOptions({L"C:\\suite dir\\qkhost.exe", L"/MODULE:{2DD8BA03-E8BC-421C-461F-4936E19F0103}",
                                                  L"/AutoRun", L"/param:close", L"/dll:C:\\x\\qkSJUI.dll",
                                                  L"/Param:Site=a=b", L"/QuitWhenReady", L"two words", L"say \"hi\"",
                                                  L"/quitwhenreadyx"});
    EXPECT_TRUE(options.error.empty());
    EXPECT_TRUE(options.quitWhenReady);
    EXPECT_EQ(L"{2DD8BA03-E8BC-421C-461F-4936E19F0103}", options.module);
    EXPECT_EQ(L"C:\\x\\qkSJUI.dll", options.dllPath);
    ASSERT_EQ(2u, options.parameters.size());
    EXPECT_EQ(L"", options.parameters.at(L"close"));
    EXPECT_EQ(L"a=b", options.parameters.at(L"Site"));
    EXPECT_EQ(L"\"C:\\suite dir\\qkhost.exe\" /AutoRun \"two words\" \"say \\\"hi\\\"\" /quitwhenreadyx",
              options.moduleCommandLine);
}

TEST(HostOptions, RefusesNamelessParameters) {
    EXPECT_FALSE(ParseHostOptions({L"qkhost.exe", L"/param:=1"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({L"qkhost.exe", L"/module:"}).error.empty());
}

TEST(HostOptions, QuotedArgumentsSplitBackToTheOriginals) {
    for (const std::wstring& argument :
         {std::wstring(L""), std::wstring(L"C:\\dir with space\\"), std::wstring(L"q\"uote"), std::wstring(L"\\\\\"x")}) {
        const std::wstring line = L"prog.exe " + QuoteArgument(argument);
        int count = 0;
        LPWSTR* split = ::CommandLineToArgvW(line.c_str(), &count);
        ASSERT_TRUE(split && count == 2) << line;
        EXPECT_EQ(argument, std::wstring(split[1]));
        ::LocalFree(split);
    }
}

class HostApp : public ::testing::Test {
protected:
    CHostApp* host = new CHostApp(L"\"qkhost.exe\" /AutoRun", {{L"Close", L"now"}});
    void TearDown() override {
        EXPECT_EQ(0u, host->Release());
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};

struct CountingFilter : CMessageFilter {
    int seen = 0;
    std::function<void()> onMessage;
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->hwnd) return FALSE;
        ++seen;
        if (onMessage) onMessage();
        return TRUE;
    }
};

struct CountingIdle : CIdleHandler {
    int calls = 0;
    std::function<void()> onIdle;
    BOOL OnIdle() override {
        ++calls;
        if (onIdle) onIdle();
        return FALSE;
    }
};

TEST_F(HostApp, LoopRunsFiltersAndIdleHandlersAndEndsWithTheRequestedCode) {
    CountingFilter filter;
    CountingIdle idle;
    EXPECT_EQ(S_OK, host->AddMessageFilter(&filter));
    EXPECT_EQ(S_FALSE, host->AddMessageFilter(&filter));
    EXPECT_EQ(S_OK, host->AddIdleHandler(&idle));
    filter.onMessage = [&] {
        if (filter.seen == 2) host->CloseHost(404);
    };
    // The loop starts idle: the idle handler feeds it its messages.
    idle.onIdle = [&] {
        if (idle.calls > 1) return;
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 1, 0, 0);
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 2, 0, 0);
    };
    EXPECT_EQ(404, RunMessageLoop(*host));
    EXPECT_EQ(2, filter.seen);
    EXPECT_EQ(1, idle.calls);
    EXPECT_EQ(S_OK, host->RemoveMessageFilter(&filter));
    EXPECT_EQ(S_FALSE, host->RemoveMessageFilter(&filter));
    EXPECT_EQ(S_OK, host->RemoveIdleHandler(&idle));
}
}  // namespace
