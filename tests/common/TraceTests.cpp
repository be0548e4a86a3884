// Trace lines as the trace library receives them. This executable sits beside
// a recording double of the trace library, so its own traces land there.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "DLLHandle.h"
#include "Trace.h"
#include "TraceRecorder.h"
#include "support/ModuleLibrary.h"
#include "host/HostApp.h"
#include "support/TestSupport.h"

namespace {
// This executable lives in a folder of its own beside its trace double; the
// module and its resources are in the output folder above it.
std::wstring OutputFolder() { return testsupport::BinFolder() + L"..\\"; }

bool CopyFromOutput(const std::wstring& folder, const wchar_t* name) {
    return ::CopyFileW((OutputFolder() + name).c_str(), (folder + name).c_str(), FALSE) != FALSE;
}

class Tracing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(recorder.Valid()) << "the recording double must be beside the test"; }
    TraceRecorder recorder = TraceRecorder::Beside();
};

TEST_F(Tracing, ScopedTracesAndNamedValuesReachTheLibraryAsLines) {
    {
        CAutoFunTrace trace("CMainFrame::OnRefresh");
        TraceText(8, "CMainFrame::OnRefresh::no host");
    }
    { CAutoFunTrace wide(L"CCallProcEx::ZvnShellEx(LPCTSTR lpszFileFullPath)"); }
    const CVarAdapter file(L"C:\\a b\\x.exe");
    const CVarAdapter line("/CheckVersion");
    TraceMessage2({{"lpszFileFullPath", &file}, {"lpszCmdLine", &line}});
    TraceMessage4({{"name", nullptr}, {nullptr, nullptr}});
    TraceMessage8({{nullptr, &file}});
    const std::vector<RecordedTrace> expected = {
        {2, 0, "--> CMainFrame::OnRefresh \n"},
        {8, 0, " CMainFrame::OnRefresh::no host,\n"},
        {2, 0, "<-- CMainFrame::OnRefresh \n"},
        {2, 0, "--> CCallProcEx::ZvnShellEx(LPCTSTR lpszFileFullPath) \n"},
        {2, 0, "<-- CCallProcEx::ZvnShellEx(LPCTSTR lpszFileFullPath) \n"},
        {2, 0, " lpszFileFullPath=C:\\a b\\x.exe,lpszCmdLine=/CheckVersion,\n"},
        {4, 0, " name=,,\n"},
        {8, 0, " C:\\a b\\x.exe,\n"},
    };
    EXPECT_EQ(expected, recorder.Calls());
}

TEST(TraceComposition, StopsAtTheFirstNullArgumentAndAfterTen) {
    const CVarAdapter one(1), two(2);
    const TraceArg a{"a", &one}, b{"b", &two};
    const TraceArg* stopped[] = {&a, nullptr, &b, nullptr};
    EXPECT_EQ("pre a=1,\n", Trace::ComposeLine("pre", stopped));
    const TraceArg* eleven[] = {&a, &a, &a, &a, &a, &a, &a, &a, &a, &a, &b, nullptr};
    EXPECT_EQ(" a=1,a=1,a=1,a=1,a=1,a=1,a=1,a=1,a=1,a=1,\n", Trace::ComposeLine("", eleven));
    EXPECT_EQ("\n", Trace::ComposeLine(nullptr, nullptr));
}

TEST(TraceComposition, ValuesBecomeText) {
    EXPECT_STREQ("-42", CVarAdapter(-42).Text());
    EXPECT_STREQ("12.500", CVarAdapter(12.5, 3).Text());
    EXPECT_STREQ("3.", CVarAdapter(3.0, 0).Text());
    EXPECT_STREQ("0x00000000DEADBEEF", CVarAdapter(reinterpret_cast<const void*>(0xDEADBEEF)).Text());
    EXPECT_STREQ("", CVarAdapter(static_cast<const wchar_t*>(nullptr)).Text());
    EXPECT_STREQ("caf\xE9", CVarAdapter(L"caf\u00E9").Text()) << "wide text goes out in the ANSI code page";
}

// A message of `length` characters in all: " ", the text, ",", "\n".
std::string MessageOfLength(size_t length) {
    std::string text(length - 3, 'x');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
    return text;
}

TEST_F(Tracing, LongLinesGoOutInPiecesOf2047) {
    for (const auto& [length, pieces] : std::vector<std::pair<size_t, std::vector<size_t>>>{
             {2047, {2047}}, {2048, {2047, 1}}, {5000, {2047, 2047, 906}}}) {
        recorder.Clear();
        const std::string text = MessageOfLength(length);
        TraceText(8, text.c_str());
        const std::vector<RecordedTrace> calls = recorder.Calls();
        ASSERT_EQ(pieces.size(), calls.size()) << "line of " << length;
        std::string joined;
        for (size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(pieces[i], calls[i].text.size());
            EXPECT_EQ(8, calls[i].level);
            EXPECT_EQ(0, calls[i].reservedSum);
            joined += calls[i].text;
        }
        EXPECT_EQ(" " + text + ",\n", joined);
        EXPECT_EQ('\n', calls.back().text.back());
    }
}

TEST(LibraryHandles, SystemLibrariesComeFromTheSystemFolder) {
    const HMODULE advapi = LoadSystemLibrary(L"advapi32.dll");
    ASSERT_TRUE(advapi);
    wchar_t path[MAX_PATH] = {}, system[MAX_PATH] = {};
    ::GetModuleFileNameW(advapi, path, MAX_PATH);
    ::GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(0, ::_wcsnicmp(path, system, wcslen(system)));
    ::FreeLibrary(advapi);
    EXPECT_EQ(nullptr, LoadSystemLibrary(L"no-such-library.dll"));
    EXPECT_EQ(nullptr, LoadSystemLibrary(nullptr));
}

// A module whose folder cannot be read loads nothing, although the search
// path (this executable's folder) holds a library of that name.
TEST(LibraryHandles, ALibraryBesideAnUnreadableModuleIsNotSearchedFor) {
    CDLLHandle stray(L"zvntrace.dll", reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x10000)));
    EXPECT_EQ(nullptr, stray.Handle());
}

class ModuleTracing : public ::testing::Test {
protected:
    testsupport::TempFolder folder;

    HRESULT StartAndStop() {
        ModuleLibrary library(folder.Path() + L"qkSJUI.dll");
        if (!library.Loaded()) return E_UNEXPECTED;
        Microsoft::WRL::ComPtr<IVelUIModule> module = library.Create(kDesktopClientClass);
        auto* host = new CHostApp(L"qkhost.exe", {});
        const HRESULT hr = module->InitModule(host, nullptr);
        module->UninitModule();
        module.Reset();
        host->Release();
        testsupport::PumpPending();
        return hr;
    }
};

TEST_F(ModuleTracing, WorksWithoutTraceLibraryOrItsEntryPoint) {
    ASSERT_TRUE(CopyFromOutput(folder.Path(), L"qkSJUI.dll") && CopyFromOutput(folder.Path(), L"qksjres.dll"));
    EXPECT_EQ(S_OK, StartAndStop());
    ASSERT_TRUE(::CopyFileW((testsupport::BinFolder() + L"noentry\\zvntrace.dll").c_str(),
                            (folder.Path() + L"zvntrace.dll").c_str(), FALSE));
    EXPECT_EQ(S_OK, StartAndStop());
}
// The module traces through the copy beside itself; a stopped desktop client
// gives it back, and unloading the module afterwards writes nothing: the
// loader lock is held then, and nothing may call into another library.
TEST_F(ModuleTracing, TracesThroughTheSiblingGivesItBackWhenStoppedAndUnloadsQuietly) {
    ASSERT_TRUE(CopyFromOutput(folder.Path(), L"qkSJUI.dll") && CopyFromOutput(folder.Path(), L"qksjres.dll") &&
                folder.CopyFromBin(L"zvntrace.dll"));
    const std::wstring double_ = folder.Path() + L"zvntrace.dll";
    HMODULE watch = nullptr;
    {
        ModuleLibrary library(folder.Path() + L"qkSJUI.dll");
        ASSERT_TRUE(library.Loaded());
        Microsoft::WRL::ComPtr<IVelUIModule> module = library.Create(kDesktopClientClass);
        auto* host = new CHostApp(L"qkhost.exe", {});
        ASSERT_EQ(S_OK, module->InitModule(host, nullptr));
        const HMODULE trace = ::GetModuleHandleW(double_.c_str());
        ASSERT_TRUE(trace) << "the module loads the copy beside itself";
        const std::vector<std::string> texts = TraceRecorder(trace).Texts();
        EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "<-- CSJUIModule::InitModule \n"));
        module->UninitModule();
        EXPECT_FALSE(::GetModuleHandleW(double_.c_str())) << "the stopped client still holds the trace library";
        // From here on the test holds it, to see what the unload writes.
        watch = ::LoadLibraryW(double_.c_str());
        TraceRecorder(watch).Clear();
        module.Reset();
        host->Release();
        testsupport::PumpPending();
    }
    EXPECT_EQ(std::vector<std::string>{}, TraceRecorder(watch).Texts());
    ::FreeLibrary(watch);
}

// A module that was never stopped gives it back when it may unload.
TEST_F(ModuleTracing, TheLibraryGoesWhenTheModuleMayUnload) {
    ASSERT_TRUE(CopyFromOutput(folder.Path(), L"qkSJUI.dll") && folder.CopyFromBin(L"zvntrace.dll"));
    const std::wstring double_ = folder.Path() + L"zvntrace.dll";
    ModuleLibrary library(folder.Path() + L"qkSJUI.dll");
    ASSERT_TRUE(library.Loaded());
    Microsoft::WRL::ComPtr<IVelUIModule> module = library.Create(kDesktopClientClass);
    EXPECT_EQ(S_FALSE, module->InitModule(nullptr, nullptr));  // traced, and nothing to stop
    EXPECT_TRUE(::GetModuleHandleW(double_.c_str()));
    module.Reset();
    EXPECT_EQ(S_OK, library.CanUnloadNow());
    EXPECT_FALSE(::GetModuleHandleW(double_.c_str()));
}
}  // namespace
