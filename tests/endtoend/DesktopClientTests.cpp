// The desktop client as a user meets it: the suite's host program starts it,
// the login module signs the remembered account in, the meetings window
// synchronises the day from the web-API component and shows it, a meeting is
// joined through the meetings library, and a second start asks it to exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UniqueHandle.h"
#include "support/ClientWindows.h"
#include "support/CommandFixture.h"
#include "support/TestSupport.h"
#include "webapi/MeetingStore.h"

using webapitest::At;
using webapitest::MeetingStore;
using webapitest::StoreMeeting;
using webapitest::Today;

namespace {
using testsupport::kClientFrameClass;
using testsupport::kMeetingButton;

std::wstring HostCommand(const std::wstring& extra) {
    // This test runs from a folder of its own inside the output folder.
    const std::wstring bin = testsupport::BinFolder() + L"..\\";
    return L"\"" + bin + L"qkhost.exe\" /module:{2DD8BA03-E8BC-421C-461F-4936E19F0103} \"/dll:" + bin +
           L"qkSJUI.dll\"" + extra;
}

class DesktopClient : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Loaded() && service.RegisterServer);
        settings.SetDword(L"SJEnable", 1);
        login.Remove(L"AutoSignIn");
        meetingLib.RemoveAll();
        MeetingStore::SetSyncMilliseconds(300);
        const DATE today = Today();
        store.Write({StoreMeeting(L"Design review", At(today, 0, 5), At(today, 23, 50))
                         .Set(L"meetingKey", L"311000111")
                         .Set(L"meetingStatus", L"inProgress")
                         .Set(L"meetingPrivilege", L"attendee")
                         .Set(L"serviceType", L"RZ"),
                     StoreMeeting(L"Quarter planning", At(today, 23, 55), At(today, 23, 59))
                         .Set(L"meetingKey", L"311000222")});
    }
    void TearDown() override {
        if (client) {
            if (::WaitForSingleObject(client.get(), 0) == WAIT_TIMEOUT) ::TerminateProcess(client.get(), 1);
        }
    }

    bool Start() {
        std::wstring command = HostCommand(L"");
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION process{};
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        ::CloseHandle(process.hThread);
        client.reset(process.hProcess);
        return true;
    }

    RegisteredService service{testsupport::BinFolder() + L"..\\"};
    SavedRegistryValues settings{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", {L"SJEnable"}};
    SavedRegistryValues login{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\Login", {L"AutoSignIn"}};
    SavedRegistryValues meetingLib{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib",
                                   {L"ResultCode", L"ResultXml", L"ActionResult"}};
    testsupport::EnvironmentFile callLog{L"QK_MEETINGLIB_LOG"};
    MeetingStore store;
    UniqueKernelHandle client;
};
}  // namespace

TEST_F(DesktopClient, StartsSignsInShowsTheDayJoinsAMeetingAndExits) {
    ASSERT_TRUE(Start());
    HWND frame = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] {
            frame = ::FindWindowW(kClientFrameClass, nullptr);
            return frame && ::IsWindowVisible(frame);
        },
        20000))
        << "the meetings window comes up after the automatic sign-in";

    // Synchronised: both meetings of the store are laid out.
    std::vector<HWND> items;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] {
            items = testsupport::VisibleMeetingItems(frame);
            return items.size() == 2;
        },
        20000));
    HWND running = nullptr;
    for (HWND item : items)
        if (testsupport::ItemTexts(item).find(L"Design review") != std::wstring::npos) running = item;
    ASSERT_NE(nullptr, running);

    // The item's join button, as a click sends it.
    ::PostMessageW(running, WM_COMMAND, MAKEWPARAM(kMeetingButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(running, kMeetingButton)));
    std::vector<std::wstring> calls;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] {
            calls = callLog.Lines();
            for (const std::wstring& line : calls)
                if (line.rfind(L"JoinMeeting\t", 0) == 0) return true;
            return false;
        },
        10000));
    bool joinedTheRightMeeting = false;
    for (const std::wstring& line : calls)
        if (line.rfind(L"JoinMeeting\t", 0) == 0 && line.find(L"key=311000111") != std::wstring::npos)
            joinedTheRightMeeting = true;
    EXPECT_TRUE(joinedTheRightMeeting);

    // A second start with the close parameter is the client's own exit request.
    EXPECT_EQ(66, testsupport::RunProcessPumping(HostCommand(L" /param:close"), 30000));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(client.get(), 20000));
    DWORD code = 0;
    ::GetExitCodeProcess(client.get(), &code);
    EXPECT_EQ(0u, code);
}
