// The frame's command bar: the top-level entries of its menu as buttons, and
// the menu's entries following the account and the user's settings.
#include <windows.h>
#include <commctrl.h>

#include "support/Canvas.h"
#include "support/CommandFixture.h"

using namespace commandtest;

namespace {
bool HasCommand(HMENU menu, UINT command) {
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        if (HMENU sub = ::GetSubMenu(menu, i)) {
            if (HasCommand(sub, command)) return true;
        } else if (::GetMenuItemID(menu, i) == command) {
            return true;
        }
    }
    return false;
}
}  // namespace

TEST_F(CommandTest, TheCommandBarShowsTheMenusEntriesAndTheirPictures) {
    const HWND bar = frame->CommandBarWindow();
    ASSERT_TRUE(::IsWindow(bar));
    const HMENU menu = frame->CommandBarMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ(::GetMenuItemCount(menu), static_cast<int>(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0)));
    // Every command with a picture reaches the flat menus through the frame.
    for (UINT command : {40001u, 40002u, 40003u, 40005u, 40006u, 40018u, 57670u}) {
        int index = -1;
        EXPECT_TRUE(frame->CommandImage(command, &index)) << command;
        EXPECT_GE(index, 0) << command;
    }
    int none = 0;
    EXPECT_EQ(nullptr, frame->CommandImage(40027, &none));
    EXPECT_EQ(-1, none);
}

TEST_F(CommandTest, MenuEntriesFollowTheSiteAndTheSettings) {
    struct Case {
        const wchar_t* z11;
        DWORD hideSwitchSite;
        DWORD disableStartAudio;
        bool switchAccount;
        bool personalConference;
    };
    SavedRegistryValues audio{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", {L"DisableStartAudio"}};
    for (const Case& c : {Case{L"", 0, 0, true, true}, Case{L"", 1, 0, false, true}, Case{L"", 0, 1, true, false},
                          Case{L"acme.z11.example", 0, 0, true, false}, Case{L"acme.z11.example", 1, 0, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.z11 << " " << c.hideSwitchSite << " " << c.disableStartAudio);
        UseAccount(Account(1, true, true, c.z11));
        userSettings.SetDword(L"HideSwitchSite", c.hideSwitchSite);
        audio.SetDword(L"DisableStartAudio", c.disableStartAudio);
        frame->UpdateMenuState(TRUE);
        EXPECT_EQ(c.switchAccount, HasCommand(frame->CommandBarMenu(), CMainFrame::kCmdSwitchAccount));
        EXPECT_EQ(c.personalConference, HasCommand(frame->CommandBarMenu(), CMainFrame::kCmdStartPersonalConf));
    }
}

TEST_F(CommandTest, TheCommandBarPaintsItsOwnColours) {
    const HWND bar = frame->CommandBarWindow();
    ASSERT_TRUE(::IsWindow(bar));
    RECT client{}, hotButton{}, restButton{};
    ::GetClientRect(bar, &client);
    ::SendMessageW(bar, TB_SETHOTITEM, 1, 0);
    ::SendMessageW(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&hotButton));
    ::SendMessageW(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&restButton));
    // Red where nothing paints: printing does not erase.
    testsupport::Canvas canvas(client.right, client.bottom, RGB(255, 0, 0));
    ::SendMessageW(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);

    // Text pixels aside, the hot button is the light fill, the others white,
    // and the text is drawn in the dark text colour (its darkest pixels, at least).
    const auto area = [](const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); };
    EXPECT_GT(canvas.Count(hotButton, CCommandBar::kHotBackground), area(hotButton) * 3 / 4);
    EXPECT_GT(canvas.Count(restButton, CCommandBar::kBackground), area(restButton) * 3 / 4);
    EXPECT_GT(canvas.Count(restButton, CCommandBar::kText), 0);
    EXPECT_GT(canvas.Count(hotButton, CCommandBar::kText), 0);
}
