// The suite's trace library itself: which file a record goes to, looked at
// record by record, whatever became of the file since the last one.
#include <gtest/gtest.h>

#include <string>

#include "support/RegistryValues.h"
#include "support/TestSupport.h"
#include "UniqueHandle.h"

namespace {
using TraceEntry = int(__cdecl*)(int level, int reserved1, int reserved2, const char* text);

TEST(TraceLibrary, EachRecordGoesWhereTheEnvironmentAndTheRegistryPointNow) {
    const UniqueHmodule library(::LoadLibraryW((testsupport::BinFolder() + L"zvntrace.dll").c_str()));
    ASSERT_TRUE(library);
    const auto trace = reinterpret_cast<TraceEntry>(::GetProcAddress(library.get(), "ZVNTRACERAWA"));
    ASSERT_TRUE(trace);
    SavedRegistryValues setting(HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", {L"TraceFile"});
    testsupport::TempFolder folder;
    const std::wstring first = folder.Path() + L"first.log";
    const std::wstring second = folder.Path() + L"second.log";
    const std::wstring environment = folder.Path() + L"environment.log";

    const std::wstring renamed = folder.Path() + L"renamed.log";

    // Each step changes where records go, or what lies there, then writes
    // one; every file must hold exactly the records written while it was the
    // one at its path.
    enum class Before { Nothing, RemoveFirst, RenameFirst };
    const struct {
        const char* record;
        const std::wstring* variable;  // null: the variable is not set
        const std::wstring* registry;  // null: no TraceFile value
        Before before;
    } steps[] = {
        {"record-1", nullptr, &first, Before::Nothing},
        {"record-2", nullptr, &second, Before::Nothing},
        {"record-3", &environment, &second, Before::Nothing},
        {"record-4", nullptr, &first, Before::Nothing},
        {"record-5", nullptr, &first, Before::RenameFirst},
        {"record-6", nullptr, &first, Before::RemoveFirst},
        {"record-7", nullptr, &first, Before::Nothing},
    };
    for (const auto& step : steps) {
        if (step.registry) {
            ASSERT_TRUE(setting.SetText(L"TraceFile", *step.registry));
        } else {
            setting.Remove(L"TraceFile");
        }
        ::SetEnvironmentVariableW(L"QK_TRACE_FILE", step.variable ? step.variable->c_str() : nullptr);
        if (step.before == Before::RemoveFirst) {
            ASSERT_TRUE(::DeleteFileW(first.c_str())) << step.record;
        } else if (step.before == Before::RenameFirst) {
            ASSERT_TRUE(::MoveFileW(first.c_str(), renamed.c_str())) << step.record;
        }
        EXPECT_EQ(1, trace(2, 0, 0, step.record)) << step.record;
    }
    ::SetEnvironmentVariableW(L"QK_TRACE_FILE", nullptr);

    const struct {
        const std::wstring* file;
        const char* present;
        const char* absent;
    } expected[] = {
        {&renamed, "record-1", "record-2"},
        {&renamed, "record-4", "record-5"},
        {&first, "record-6", "record-5"},
        {&first, "record-7", "record-4"},
        {&second, "record-2", "record-4"},
        {&environment, "record-3", "record-2"},
    };
    for (const auto& e : expected) {
        const std::string text = testsupport::FileText(*e.file);
        EXPECT_NE(std::string::npos, text.find(e.present)) << e.present;
        EXPECT_EQ(std::string::npos, text.find(e.absent)) << e.absent;
    }
}
}  // namespace
