#pragma once
// An invisible pop-up that takes the foreground while the tray menu is
// tracked: a menu closes on a click elsewhere only when a window of its
// thread is in front, and the frame itself stays hidden while the user
// picks from the tray.
#include <windows.h>

#include "WindowBase.h"

class CHelpPopupMenuWnd : public CWindowBase {
public:
    static constexpr const wchar_t* kClassName = L"Vel_HelpPopupMenuWnd";

    HWND Create(HWND owner);
    // Puts the window in front (it stays invisible: no size, no taskbar entry).
    void BringToForeground() const;

protected:
    // Every message takes the default handling.
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) override { return FALSE; }
};
