#pragma once
// The real host application object, owned by a test.
#include "host/HostApp.h"

struct TestHost {
    TestHost() : app(new CHostApp(L"\"C:\\suite\\qkhost.exe\"", {})) {}
    ~TestHost() { app->Release(); }
    TestHost(const TestHost&) = delete;
    TestHost& operator=(const TestHost&) = delete;
    CHostApp* app;
};
