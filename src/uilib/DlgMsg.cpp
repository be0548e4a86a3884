#include "DlgMsg.h"

BOOL CDlgMsg::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    // The shadow map takes only its own watchdog timer.
    if (CTesselShadow::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (uMsg == WM_INITDIALOG) {
        const RECT extents{kShadowExtent, kShadowExtent, kShadowExtent, kShadowExtent};
        SetupShadow(extents, POINT{}, RECT{});
    }
    return CWhiteBGDlg::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult);
}
