// The tray icon's notifications and its menu.
#include <windows.h>
#include <shellapi.h>

#include "ModuleState.h"
#include "Registry.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "MainFrame.h"

#include "FlatMenu.h"
#include "SJUISetting.h"

namespace {
void DeleteCommands(HMENU menu, std::initializer_list<WORD> commands) {
    for (WORD id : commands) ::DeleteMenu(menu, id, MF_BYCOMMAND);
}

void EnableCommands(HMENU menu, std::initializer_list<WORD> commands, UINT state) {
    for (WORD id : commands) ::EnableMenuItem(menu, id, MF_BYCOMMAND | state);
}
}  // namespace

LRESULT CMainFrame::OnTrayNotify(UINT, WPARAM, LPARAM lParam, BOOL&) {
    try {
        switch (static_cast<UINT>(lParam)) {
        case WM_RBUTTONUP:
            ShowTrayMenu();
            break;
        case WM_LBUTTONDBLCLK:
            if (IsSignedIn()) {
                OpenMainFrame();
            } else {
                OpenLoginModule(TRUE);
            }
            break;
        default:
            break;
        }
    } catch (...) {
        TraceText(8, "CMainFrame::OnTrayNotify failed");
    }
    return 0;
}

void CMainFrame::ShowTrayMenu() {
    CAutoFunTrace trace("CMainFrame::ShowTrayMenu");
    m_trayMenuOpen = 1;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    UniqueHmenu menu(::LoadMenuW(ModuleState::ResourceInstance(), MAKEINTRESOURCEW(kTrayMenu)));
    const HMENU popup = menu ? ::GetSubMenu(menu.get(), 0) : nullptr;
    if (!popup) {
        TraceText(8, "CMainFrame::ShowTrayMenu no tray menu");
        m_trayMenuOpen = 0;
        return;
    }

    if (!IsSignedIn()) {
        DeleteCommands(popup, {kCmdTrayOpen, kCmdStartMeeting, kCmdScheduleMeeting, kCmdAudioVideo, kCmdSettings,
                               kCmdSwitchAccount, kCmdConnectToMyComputer, kCmdGotoZorvan, kCmdLogOut});
        ::SetMenuDefaultItem(popup, kCmdTrayLogin, FALSE);
    } else {
        ::InsertMenuW(popup, kCmdGotoZorvan, MF_BYCOMMAND | MF_SEPARATOR, 0, nullptr);
        ::DeleteMenu(popup, kCmdTrayLogin, MF_BYCOMMAND);
        ::SetMenuDefaultItem(popup, kCmdTrayOpen, FALSE);
        CSJUISetting* setting = CSJUISetting::Existing();
        if (setting && !setting->IsDeskreachEnabled()) ::DeleteMenu(popup, kCmdConnectToMyComputer, MF_BYCOMMAND);
        if (setting && !setting->IsSnapjoinEnabled()) ::DeleteMenu(popup, kCmdTrayOpen, MF_BYCOMMAND);
        DWORD hideSwitchSite = 0;
        if (CRegistry::ReadDword(HKEY_CURRENT_USER, kQuillkitKey, L"HideSwitchSite", &hideSwitchSite) &&
            hideSwitchSite != 0)
            ::DeleteMenu(popup, kCmdSwitchAccount, MF_BYCOMMAND);
        // While the settings window shows a dialog, leaving or switching would pull the account from under it.
        const std::initializer_list<WORD> accountCommands = {kCmdTrayExit, kCmdLogOut, kCmdSettings, kCmdSwitchAccount};
        EnableCommands(popup, accountCommands, MF_ENABLED);
        if (m_settingModule) {
            const HWND window = m_settingModule->GetModuleWindow();
            if (window && ::IsWindow(window) && !::IsWindowEnabled(window))
                EnableCommands(popup, accountCommands, MF_GRAYED);
        }
    }

    // Drawn flat by the toolkit, with the command pictures of the command bar.
    CFlatMenu flat(popup, kTrayMenuHighlight);
    for (const UINT command : {kCmdStartMeeting, kCmdScheduleMeeting, kCmdSettings, kCmdAudioVideo, kCmdHelp}) {
        int index = -1;
        if (HIMAGELIST images = m_commandBar.CommandImages(command, &index)) flat.SetEntryImage(command, images, index);
    }
    m_helpPopup.BringToForeground();
    const UINT chosen = flat.Track(TPM_RETURNCMD | TPM_NONOTIFY, cursor.x + 1, cursor.y - 1, m_hWnd);
    ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    m_trayMenuOpen = 0;
}
