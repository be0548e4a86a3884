// The desktop client in the suite's host program, started from a private copy
// of the output folder in which one neighbouring component is missing,
// unregistered, or present but failing through its fault switch. The client
// starts or refuses as it must, traces why, and keeps everything that does not
// need the missing piece working.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "UniqueHandle.h"
#include "support/ClientWindows.h"
#include "support/CommandFixture.h"
#include "support/TestSupport.h"
#include "webapi/MeetingStore.h"

using webapitest::At;
using webapitest::StoreMeeting;
using webapitest::Today;

namespace {
constexpr wchar_t kFaultsKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Faults";
constexpr wchar_t kSettingsService[] = L"{A12A21B3-CFDA-497E-98C0-CE60D4D108C8}";
constexpr wchar_t kMeetingComponent[] = L"{8C5A23F1-A4F2-47F0-8E95-CF33FDDFF1AA}";
constexpr wchar_t kLoginWindowClass[] = L"Vel_QkLoginWnd";
constexpr long kInitRefused = 66;  // the host's exit code when InitModule fails

const wchar_t* const kClientFiles[] = {L"qkhost.exe",  L"qkSJUI.dll",   L"qksjres.dll",    L"qkres.dll",
                                       L"zvntrace.dll", L"qkLogin.dll",  L"qkWebAPI.dll",   L"qkIstMt.dll",
                                       L"qkONIUI.dll",  L"qkONIUIOri.dll", L"qkONIUITra.dll", L"qkUpdate.exe",
                                       L"bosh.dll"};
const wchar_t* const kSettingModules[] = {L"qkONIUI.dll", L"qkONIUIOri.dll", L"qkONIUITra.dll"};

enum class Break { Missing, Unregistered, RefuseCreation, FailEveryCall };
// The fault switch's modes (suite/shared/SuiteFault.h).
constexpr DWORD kRefuseCreationMode = 1;
constexpr DWORD kFailEveryCallMode = 2;
enum class Start { Desktop, Help };
// How far the client gets: refused at start, running without a signed-in
// frame, the frame shown but without meetings, or the whole day shown.
enum class Reach { Refused, Hidden, Frame, Day };
enum class Act { None, Join, OpenSettings };

struct NeighbourCase {
    const char* name;
    const wchar_t* target;  // a file of the folder, or a fault-switch value
    Break how;
    Reach reach;
    const char* trace;  // a line the client writes, or null: the trace library itself is gone
    Start start = Start::Desktop;
    Act act = Act::None;
};

const NeighbourCase kCases[] = {
    {"TraceLibraryMissing", L"zvntrace.dll", Break::Missing, Reach::Day, nullptr},
    {"ResourceLibraryMissing", L"qksjres.dll", Break::Missing, Reach::Refused,
     "CSJUIModule::InitModule: cannot load qksjres.dll"},
    {"SettingsServiceUnregistered", L"qkService.dll", Break::Unregistered, Reach::Hidden,
     "Create qkService failed! hr=%u,(void*)hr=0x0000000080040154,"},
    {"SettingsServiceFailsEveryCall", kSettingsService, Break::FailEveryCall, Reach::Hidden,
     "CSJUISetting::Initialize: account changes of qkService cannot be followed"},
    {"MeetingComponentRefusesCreation", kMeetingComponent, Break::RefuseCreation, Reach::Day,
     "CSJUISetting::Initialize: the meeting component cannot be created"},
    {"MeetingComponentFailsEveryCall", kMeetingComponent, Break::FailEveryCall, Reach::Day,
     "CSJUISetting::Initialize: meeting changes cannot be followed"},
    {"MeetingsLibraryMissing", L"qkIstMt.dll", Break::Missing, Reach::Day, "CMeetingLibObject: cannot load qkIstMt.dll",
     Start::Desktop, Act::Join},
    {"MeetingsLibraryRefusesCreation", L"qkIstMt.dll", Break::RefuseCreation, Reach::Day,
     "CMeetingLibObject: qkIstMt.dll refused to create the object", Start::Desktop, Act::Join},
    {"MeetingsLibraryFailsEveryCall", L"qkIstMt.dll", Break::FailEveryCall, Reach::Day,
     "CMainFrame: the meetings library gave no result for the operation", Start::Desktop, Act::Join},
    {"WebApiMissing", L"qkWebAPI.dll", Break::Missing, Reach::Frame, "m_spSync.CoCreateInstance failed"},
    // A synchronisation whose status cannot be read ends as an error status: sign in again.
    {"WebApiFailsEveryCall", L"qkWebAPI.dll", Break::FailEveryCall, Reach::Hidden, "emStatus=0,"},
    {"LoginModuleMissing", L"qkLogin.dll", Break::Missing, Reach::Hidden,
     "Create instance of Login Module failed in SJUI"},
    {"LoginModuleFailsEveryCall", L"qkLogin.dll", Break::FailEveryCall, Reach::Hidden,
     "Init Login Module failed in SJUI"},
    {"SettingModulesMissing", nullptr, Break::Missing, Reach::Day, "Create instance of Setting Module failed in SJUI",
     Start::Desktop, Act::OpenSettings},
    {"SettingModulesFailEveryCall", nullptr, Break::FailEveryCall, Reach::Day, "Init Setting Module failed in SJUI",
     Start::Desktop, Act::OpenSettings},
    {"BoshClientMissing", L"bosh.dll", Break::Missing, Reach::Day, "CIPPhoneBoshPorxy::InitBoshClient load bosh.dll fail"},
    {"BoshClientRefusesCreation", L"bosh.dll", Break::RefuseCreation, Reach::Day,
     "CIPPhoneBoshPorxy::InitBoshClient m_pCreateBOSHClient fail"},
    {"HelpResourceLibraryMissing", L"qkres.dll", Break::Missing, Reach::Refused,
     "CQKIPCSrvUIModule::InitModule: cannot load qkres.dll", Start::Help},
};

std::string FileText(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class ClientFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Loaded() && service.RegisterServer && service.UnregisterServer);
        const std::wstring bin = testsupport::BinFolder() + L"..\\";
        for (const wchar_t* name : kClientFiles)
            ASSERT_TRUE(::CopyFileW((bin + name).c_str(), (folder.Path() + name).c_str(), FALSE)) << name;
        settings.SetDword(L"SJEnable", 1);
        login.Remove(L"AutoSignIn");
        webapitest::MeetingStore::SetSyncMilliseconds(300);
        trace.Remove();
        const DATE today = Today();
        store.Write({StoreMeeting(L"Design review", At(today, 0, 5), At(today, 23, 50))
                         .Set(L"meetingKey", L"311000111")
                         .Set(L"meetingStatus", L"inProgress")
                         .Set(L"meetingPrivilege", L"attendee")});
    }
    void TearDown() override {
        if (client && ::WaitForSingleObject(client.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(client.get(), 1);
        client.reset();
        faults.RemoveAll();
        service.RegisterServer();
    }

    void BreakNeighbour(const NeighbourCase& c) {
        std::vector<const wchar_t*> targets;
        if (c.target)
            targets.push_back(c.target);
        else
            targets.assign(std::begin(kSettingModules), std::end(kSettingModules));
        for (const wchar_t* target : targets) {
            const std::wstring path = folder.Path() + target;
            switch (c.how) {
            case Break::Missing: ASSERT_TRUE(::DeleteFileW(path.c_str())); break;
            case Break::Unregistered: ASSERT_EQ(S_OK, service.UnregisterServer()); break;
            case Break::RefuseCreation: ASSERT_TRUE(faults.SetDword(target, kRefuseCreationMode)); break;
            case Break::FailEveryCall: ASSERT_TRUE(faults.SetDword(target, kFailEveryCallMode)); break;
            }
        }
    }

    std::wstring Command(Start start, const std::wstring& extra) const {
        const std::wstring module = start == Start::Help ? L"{FEF76793-BAE4-4B89-6A14-2F6CB6875A50}"
                                                         : L"{2DD8BA03-E8BC-421C-461F-4936E19F0103}";
        std::wstring command = L"\"" + folder.Path() + L"qkhost.exe\" /module:" + module + L" \"/dll:" +
                               folder.Path() + L"qkSJUI.dll\"";
        if (start == Start::Help) command += L" /param:help /param:helptype=2";
        return command + extra;
    }

    bool Launch(const std::wstring& extra) {
        std::wstring command = Command(Start::Desktop, extra);
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &process))
            return false;
        ::CloseHandle(process.hThread);
        client.reset(process.hProcess);
        return true;
    }

    bool Traced(const char* line, DWORD timeoutMs) const {
        return testsupport::PumpUntil([&] { return FileText(trace.Path()).find(line) != std::string::npos; },
                                      timeoutMs);
    }

    RegisteredService service{testsupport::BinFolder() + L"..\\"};
    testsupport::TempFolder folder;
    testsupport::EnvironmentFile trace{L"QK_TRACE_FILE"};
    testsupport::EnvironmentFile callLog{L"QK_MEETINGLIB_LOG"};
    webapitest::MeetingStore store;
    SavedRegistryValues settings{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit",
                                 {L"SJEnable", L"UpdateDurationByMinu", L"HideSwitchSite", L"DisableStartAudio",
                                  L"ShowOnceSchedule", L"ShowOncePastMeeting", L"AlwaysStartFromIpphone"}};
    SavedRegistryValues login{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\Login", {L"AutoSignIn"}};
    SavedRegistryValues faults{HKEY_CURRENT_USER, kFaultsKey,
                               {L"qkIstMt.dll", L"qkWebAPI.dll", L"qkLogin.dll", L"bosh.dll", L"qkONIUI.dll",
                                L"qkONIUIOri.dll", L"qkONIUITra.dll", kSettingsService, kMeetingComponent}};
    UniqueKernelHandle client;
};

class FailingNeighbour : public ClientFolder, public ::testing::WithParamInterface<NeighbourCase> {};

TEST_P(FailingNeighbour, StartsOrRefusesTracesWhyAndKeepsTheRestWorking) {
    const NeighbourCase& c = GetParam();
    BreakNeighbour(c);
    if (HasFatalFailure()) return;

    if (c.reach == Reach::Refused) {
        EXPECT_EQ(kInitRefused, testsupport::RunProcessPumping(Command(c.start, L""), 30000));
        EXPECT_TRUE(Traced(c.trace, 1000)) << c.trace;
        EXPECT_EQ(nullptr, ::FindWindowW(testsupport::kClientFrameClass, nullptr));
        return;
    }

    ASSERT_TRUE(Launch(c.act == Act::OpenSettings ? L" /OpenSetting" : L""));
    HWND frame = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil([&] { return (frame = ::FindWindowW(testsupport::kClientFrameClass, nullptr)) != nullptr; },
                                       20000))
        << "the client runs";
    if (c.reach >= Reach::Frame) {
        EXPECT_TRUE(testsupport::PumpUntil([&] { return ::IsWindowVisible(frame) != FALSE; }, 20000))
            << "signed in, the meetings window comes up";
    }
    if (c.reach == Reach::Day) {
        EXPECT_TRUE(testsupport::PumpUntil([&] { return !testsupport::VisibleMeetingItems(frame).empty(); }, 20000))
            << "the day's meeting is shown";
    }
    if (c.act == Act::Join) {
        const std::vector<HWND> items = testsupport::VisibleMeetingItems(frame);
        ASSERT_FALSE(items.empty());
        ::PostMessageW(items[0], WM_COMMAND, MAKEWPARAM(testsupport::kMeetingButton, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(items[0], testsupport::kMeetingButton)));
    }
    if (c.trace) {
        EXPECT_TRUE(Traced(c.trace, 20000)) << c.trace;
    } else {
        testsupport::PumpUntil([] { return false; }, 500);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(trace.Path().c_str())) << "nothing traces";
    }
    if (c.reach <= Reach::Hidden) {
        EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindowVisible(frame); }, 10000));
        EXPECT_TRUE(testsupport::VisibleMeetingItems(frame).empty());
    }
    if (c.reach == Reach::Frame) {
        EXPECT_TRUE(testsupport::VisibleMeetingItems(frame).empty());
    }

    // Whatever failed, the client still answers the suite's exit request.
    EXPECT_EQ(kInitRefused, testsupport::RunProcessPumping(Command(Start::Desktop, L" /param:close"), 30000));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(client.get(), 20000)) << "the client exits";
    DWORD code = 1;
    ::GetExitCodeProcess(client.get(), &code);
    EXPECT_EQ(0u, code);
}

// Every number the client reads from the user's settings, damaged the same
// way at once: each reads as absent, so the client runs with its defaults and
// the meetings synchronisation ("SJEnable") stays off; the day it shows is
// read from the web-API component without one.
using DamagedSettings = ClientFolder;

TEST_F(DamagedSettings, EveryNumberReadsAsAbsent) {
    const wchar_t* const names[] = {L"SJEnable", L"UpdateDurationByMinu", L"HideSwitchSite", L"DisableStartAudio",
                                    L"ShowOnceSchedule", L"ShowOncePastMeeting", L"AlwaysStartFromIpphone"};
    for (const RawRegistryValue& damage : DamagedNumbers()) {
        SCOPED_TRACE(testing::Message() << "type " << damage.type << ", " << damage.data.size() << " bytes");
        for (const wchar_t* name : names) {
            ASSERT_TRUE(settings.SetRaw(name, damage.type, damage.data));
        }
        trace.Remove();
        ASSERT_TRUE(Launch(L""));
        HWND frame = nullptr;
        ASSERT_TRUE(testsupport::PumpUntil(
            [&] {
                frame = ::FindWindowW(testsupport::kClientFrameClass, nullptr);
                return frame && ::IsWindowVisible(frame);
            },
            20000));
        EXPECT_TRUE(Traced("SJ disable, don't need to sync meeting.", 20000));
        EXPECT_EQ(kInitRefused, testsupport::RunProcessPumping(Command(Start::Desktop, L" /param:close"), 30000));
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(client.get(), 20000));
    }
}

INSTANTIATE_TEST_SUITE_P(Components, FailingNeighbour, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<NeighbourCase>& info) { return info.param.name; });
}  // namespace
