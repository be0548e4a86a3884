#pragma once
// A real main frame beside the suite's real meetings library, login module and
// settings modules, with the settings service registered and an account the
// test chooses.
#include <string>
#include <vector>

#include "support/RegistryValues.h"
#include "support/FrameFixture.h"
#include "support/ModuleLibrary.h"

namespace commandtest {
// A tray-menu item as the tracker saw it; id 0 is a separator.
struct MenuItem {
    UINT id;
    bool grayed;
    bool operator==(const MenuItem&) const = default;
};

struct TrackedMenu {
    std::vector<MenuItem> items;
    UINT defaultItem = 0;
    UINT flags = 0;
    POINT at{};
    std::wstring activeClass;  // of this thread's active window while the menu is tracked
    std::vector<UINT> Ids() const;
    bool Has(UINT id) const;
};

class CommandTest : public frametest::FrameTest {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Stores the account with the settings service and lets the frame read it.
    void UseAccount(const std::wstring& accountXml);
    // Shows the tray menu; the tracker answers `choice`.
    TrackedMenu RightClickTray(UINT choice = 0);
    // Lines of the meetings library's call log since the last call.
    std::vector<std::wstring> TakeCalls();
    // Sends a command to the frame as a menu would.
    void Command(WORD id) const;

    RegisteredService service{testsupport::BinFolder() + L"..\\"};
    SavedRegistryValues meetingLib{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib",
                                   {L"ResultCode", L"ResultXml", L"ActionResult"}};
    SavedRegistryValues userSettings{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", {L"HideSwitchSite"}};
    // The suite's login module would sign the stored account in by itself.
    SavedRegistryValues loginSettings{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\Login", {L"AutoSignIn"}};
    testsupport::EnvironmentFile callLog{L"QK_MEETINGLIB_LOG"};
    size_t callsTaken = 0;
};

// Account documents in the settings service's shape.
std::wstring Account(int siteType, bool snapjoin, bool deskreach, const std::wstring& z11 = L"");
// "0x" and the window handle in upper-case hexadecimal, as the call log writes it.
std::wstring HandleText(HWND window);
// The meetings the suite's meeting component reports as running in this session.
void SetRunningMeetings(const wchar_t* meetingsXml);
}  // namespace commandtest
