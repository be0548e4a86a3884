#include "HelpPopupMenuWnd.h"

HWND CHelpPopupMenuWnd::Create(HWND owner) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpszClassName = kClassName;
    if (!RegisterClassOnce(wc)) return nullptr;
    // Owned by the frame, so it goes with it; a tool window has no taskbar button.
    return CreateEx(WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0, owner, nullptr);
}

void CHelpPopupMenuWnd::BringToForeground() const {
    if (!IsWindow()) return;
    ::ShowWindow(m_hWnd, SW_SHOWNA);
    ::SetForegroundWindow(m_hWnd);
}
