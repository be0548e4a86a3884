// Starting programs through the shell and waiting for them, with the trace
// lines read back from the recording trace double beside this executable.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CallProcEx.h"
#include "Trace.h"
#include "TraceRecorder.h"
#include "UniqueHandle.h"
#include "support/TestSupport.h"

namespace {
const std::string kShellLabel = "CCallProcEx::ZvnShellEx(LPCTSTR lpszFileFullPath, LPCTSTR lpszCmdLine, BOOL bRunAsAdmin)";
const std::string kWaitLabel =
    "CCallProcEx::ZvnWaitForObjExit(HANDLE hProcess, DWORD dwWaitExitType, LPDWORD lpdwExitCode)";
constexpr DWORD kUntouched = 0xDEADBEEF;

std::wstring Child() { return testsupport::BinFolder() + L"qkproc_child.exe"; }

std::string Ansi(const std::wstring& text) { return Trace::ToAnsi(text.c_str()); }

std::string ReadBytes(const std::wstring& path) {
    const UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string text(65536, '\0');
    DWORD read = 0;
    if (!file || !::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr)) return {};
    text.resize(read);
    return text;
}

// The trace lines of one call: its entry line, `inner`, its exit line.
std::vector<std::string> Scoped(const std::string& label, std::vector<std::string> inner) {
    inner.insert(inner.begin(), "--> " + label + " \n");
    inner.push_back("<-- " + label + " \n");
    return inner;
}

// A named event that a waiting child ends on; set on destruction so that no
// child outlives its test.
class Release {
public:
    Release()
        : m_name(L"qkproc-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++s_count)),
          m_event(::CreateEventW(nullptr, TRUE, FALSE, m_name.c_str())) {}
    ~Release() { Set(); }
    void Set() const { ::SetEvent(m_event.get()); }
    [[nodiscard]] const std::wstring& Name() const { return m_name; }

private:
    static inline int s_count = 0;
    std::wstring m_name;
    UniqueKernelHandle m_event;
};

class ProcessLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(recorder.Valid()) << "the recording double must be beside the test";
        testsupport::PumpPending();
    }
    TraceRecorder recorder = TraceRecorder::Beside();
};
}  // namespace

TEST_F(ProcessLaunch, WaitedProgramGivesItsExitCodeAndTraces) {
    DWORD code = kUntouched;
    ASSERT_TRUE(CCallProcEx::ZvnShellEx(Child().c_str(), L"exit 42", CCallProcEx::kWaitBlocking, FALSE, &code));
    EXPECT_EQ(42u, code);
    const std::vector<RecordedTrace> expected = {
        {2, 0, "--> " + kShellLabel + " \n"},
        {2, 0, " lpszFileFullPath=" + Ansi(Child()) + ",lpszCmdLine=exit 42,\n"},
        {2, 0, " CCallProcEx::ZvnShellEx: Launching spec process to start at spec directory.\n,\n"},
        {2, 0, " exit 42,\n"},
        {2, 0, "--> " + kWaitLabel + " \n"},
        {2, 0, "<-- " + kWaitLabel + " \n"},
        {2, 0, "<-- " + kShellLabel + " \n"},
    };
    EXPECT_EQ(expected, recorder.Calls());

    // Under the test system the elevation verb starts the program without a consent prompt.
    ASSERT_TRUE(CCallProcEx::ZvnShellEx(Child().c_str(), L"exit 9", CCallProcEx::kWaitBlocking, TRUE, &code));
    EXPECT_EQ(9u, code);
}

TEST_F(ProcessLaunch, MissingProgramOrArgumentsStartNothing) {
    testsupport::TempFolder folder;
    const std::wstring missing = folder.Path() + L"absent.exe";
    DWORD code = kUntouched;
    EXPECT_FALSE(CCallProcEx::ZvnShellEx(missing.c_str(), L"/CheckVersion", CCallProcEx::kWaitBlocking, FALSE, &code));
    EXPECT_EQ(kUntouched, code);
    EXPECT_EQ(Scoped(kShellLabel, {" lpszFileFullPath=" + Ansi(missing) + ",lpszCmdLine=/CheckVersion,\n",
                                   " CCallProcEx::ZvnShellEx: Launching spec process to start at spec directory.\n,\n",
                                   " /CheckVersion,\n", " CCallProcEx::ZvnShellEx: can not find the file!\n,\n"}),
              recorder.Texts());
    EXPECT_FALSE(CCallProcEx::ZvnShellEx(nullptr, L"x", CCallProcEx::kWaitBlocking, FALSE, &code));
    EXPECT_EQ(kUntouched, code);
}

TEST_F(ProcessLaunch, NoWaitReturnsWhileTheProgramRuns) {
    Release release;
    // Any wait type that is not 1 or 2 does not wait either.
    for (const DWORD waitType : {static_cast<DWORD>(CCallProcEx::kNoWait), DWORD{3}}) {
        DWORD code = kUntouched;
        ASSERT_TRUE(CCallProcEx::ZvnShellEx(Child().c_str(), (L"wait " + release.Name()).c_str(), waitType, FALSE, &code));
        EXPECT_EQ(static_cast<DWORD>(STILL_ACTIVE), code) << waitType;
    }
}

TEST_F(ProcessLaunch, ProgramStartsInItsOwnFolderEvenWithSpacesInThePath) {
    testsupport::TempFolder temp;
    const std::wstring folder = temp.Path() + L"with space";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring copy = folder + L"\\child program.exe";
    ASSERT_TRUE(::CopyFileW(Child().c_str(), copy.c_str(), FALSE));
    const std::wstring report = temp.Path() + L"cwd.txt";
    DWORD code = kUntouched;
    ASSERT_TRUE(CCallProcEx::ZvnShellEx(copy.c_str(), (L"cwd \"" + report + L"\" exit 3").c_str(),
                                        CCallProcEx::kWaitBlocking, FALSE, &code));
    EXPECT_EQ(3u, code);
    const std::string bytes = ReadBytes(report);
    const std::wstring cwd(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    EXPECT_EQ(CSTR_EQUAL, ::CompareStringOrdinal(folder.c_str(), -1, cwd.c_str(), -1, TRUE)) << cwd;
}

TEST(ProcessLaunchRules, VerbAndFolder) {
    EXPECT_STREQ(L"runas", CCallProcEx::ShellVerb(TRUE, 8));
    EXPECT_STREQ(L"open", CCallProcEx::ShellVerb(TRUE, 6));
    EXPECT_STREQ(L"open", CCallProcEx::ShellVerb(FALSE, 8));

    EXPECT_EQ(L"C:\\a\\b", CCallProcEx::FolderOf(L"C:\\a\\b\\c.exe"));
    EXPECT_EQ(L"C:\\", CCallProcEx::FolderOf(L"C:\\c.exe"));
    EXPECT_EQ(L"C:", CCallProcEx::FolderOf(L"C:c.exe"));
    EXPECT_EQ(L"", CCallProcEx::FolderOf(L"c.exe"));
}
