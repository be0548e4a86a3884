// The tray icon's notifications and the items of its menu, and the entries of
// the frame's command bar menu.
#include <windows.h>
#include <commctrl.h>

#include "support/Canvas.h"
#include "support/CommandFixture.h"

using namespace commandtest;
using Ids = std::vector<UINT>;

namespace {
constexpr UINT kSeparator = 0;

// Whether `command` is an entry of `menu` or of one of its submenus.
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

TEST_F(CommandTest, SignedOutTrayMenuOffersOnlySignInAboutHelpAndExit) {
    frame->SetLoginModule(login.Get(), {});
    const TrackedMenu menu = RightClickTray(CMainFrame::kCmdTrayLogin);
    EXPECT_EQ((Ids{40009, 40008, 57670, 40017}), menu.Ids());
    EXPECT_EQ(40009u, menu.defaultItem);
    // The hidden frame stays hidden: an invisible pop-up of it is brought to the front.
    EXPECT_EQ(L"Vel_HelpPopupMenuWnd", menu.activeClass);
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd));
    // The choice comes back to the frame as a posted command.
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(40009, 0)}), TakeCommands());
}

TEST_F(CommandTest, SignedInTrayMenuFollowsTheAccountsFeaturesAndTheSwitchSetting) {
    SignIn();
    TrackedMenu menu = RightClickTray(CMainFrame::kCmdSettings);
    EXPECT_EQ((Ids{40021, 40001, 40002, 40030, 40006, 40005, 40028, 40027, 40014, 40008, 57670, 40017}), menu.Ids());
    EXPECT_EQ(40021u, menu.defaultItem);
    EXPECT_EQ((std::vector<WPARAM>{MAKEWPARAM(40005, 0)}), TakeCommands());

    ASSERT_TRUE(userSettings.SetDword(L"HideSwitchSite", 1));
    UseAccount(Account(1, false, false));
    menu = RightClickTray();
    EXPECT_FALSE(menu.Has(40028));
    EXPECT_FALSE(menu.Has(40030));
    EXPECT_FALSE(menu.Has(40021));
    EXPECT_FALSE(menu.Has(40009));
    EXPECT_TRUE(menu.Has(40027));
    // Nothing chosen still reaches the frame, as command 0.
    EXPECT_EQ((std::vector<WPARAM>{0}), TakeCommands());
}

TEST_F(CommandTest, AModalSettingsDialogGreysTheAccountCommandsOfTheTrayMenu) {
    SignIn();
    frame->OpenSetting();
    const HWND settings = frame->GetSettingModule() ? frame->GetSettingModule()->GetModuleWindow() : nullptr;
    ASSERT_TRUE(::IsWindow(settings));
    ::EnableWindow(settings, FALSE);
    const TrackedMenu menu = RightClickTray();
    for (const MenuItem& item : menu.items) {
        if (item.id == kSeparator) continue;
        const bool account = item.id == 40017 || item.id == 40027 || item.id == 40005 || item.id == 40028;
        EXPECT_EQ(account, item.grayed) << item.id;
    }
}

TEST_F(CommandTest, TrayDoubleClickShowsTheSignInWindowOrTheFrame) {
    frame->SetLoginModule(login.Get(), {});
    ::SendMessageW(frame->m_hWnd, CMainFrame::kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(::IsWindowVisible(login->GetModuleWindow()));
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd));

    login->ShowModule(FALSE);
    sign.Set();
    TakeCommands();
    ::SendMessageW(frame->m_hWnd, CMainFrame::kTrayCallbackMessage, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(::IsWindowVisible(frame->m_hWnd));
    EXPECT_EQ((std::vector<WPARAM>{CMainFrame::kAutoRefresh}), TakeCommands());
    EXPECT_TRUE(TimerWasRunning(CMainFrame::kUpdateCheckTimer));

    // Other mouse notifications do nothing.
    ::ShowWindow(frame->m_hWnd, SW_HIDE);
    ::SendMessageW(frame->m_hWnd, CMainFrame::kTrayCallbackMessage, 0, WM_LBUTTONUP);
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd));
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(CommandTest, AnAccountWithoutSnapjoinGetsABalloonInsteadOfTheFrame) {
    UseAccount(Account(1, false, true));
    SignIn();
    frame->OpenMainFrame();
    EXPECT_FALSE(::IsWindowVisible(frame->m_hWnd));
    const auto balloons = Events(VelEvent::TrayBalloon);
    ASSERT_EQ(1u, balloons.size());
    EXPECT_EQ(L"Quillkit Meetings is running. Double-click its icon in the notification area to see your meetings.",
              balloons[0].text);
    EXPECT_EQ(L"Quillkit Meetings", balloons[0].title);
    EXPECT_EQ(5000, balloons[0].third);
    EXPECT_TRUE(TakeCommands().empty());

    // Sites of type 2 name their host instead.
    UseAccount(Account(2, false, true));
    frame->OpenMainFrame();
    ASSERT_EQ(2u, Events(VelEvent::TrayBalloon).size());
    EXPECT_EQ(L"You are signed in to acme.example.com.", Events(VelEvent::TrayBalloon)[1].text);
}

TEST_F(CommandTest, CommandBarEntriesFollowTheSiteAndTheSettings) {
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
