#pragma once
// The real host application object, owned by a test, with the command line and
// start parameters the test chooses.
#include <map>
#include <string>

#include "host/HostApp.h"

struct TestHost {
    explicit TestHost(std::wstring commandLine = L"\"C:\\suite\\qkhost.exe\"",
                      std::map<std::wstring, std::wstring> parameters = {})
        : app(new CHostApp(std::move(commandLine), std::move(parameters))) {}
    ~TestHost() { app->Release(); }
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;
    CHostApp* app;
};
