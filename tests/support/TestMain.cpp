// The main of every test executable: COM on the test thread, and a crash
// turned into a failing exit code that names the test it happened in.
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "support/Watchdog.h"

namespace {
constexpr UINT kCrashExitCode = 0xC0DE;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "\nCRASH: exception 0x%08lX in %s.%s; %s\n",
                 static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                 test ? test->test_suite_name() : "(outside a test)", test ? test->name() : "",
                 testsupport::CrashNote());
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), kCrashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace

int main(int argc, char** argv) {
    ::SetUnhandledExceptionFilter(&ReportCrash);
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::testing::InitGoogleTest(&argc, argv);
    const HRESULT ole = ::OleInitialize(nullptr);
    const int result = RUN_ALL_TESTS();
    if (SUCCEEDED(ole)) ::OleUninitialize();
    std::fflush(stdout);
    // Skip static destructors of libraries loaded by tests: the result is known.
    ::ExitProcess(static_cast<UINT>(result));
}
