#include "WhiteBGDlg.h"

LRESULT CWhiteBGDlg::OnCtlColor(UINT, WPARAM dc, LPARAM, BOOL&) {
    const auto hdc = reinterpret_cast<HDC>(dc);
    ::SetBkColor(hdc, kBackground);
    ::SetBkMode(hdc, TRANSPARENT);
    // A stock object: nothing to free.
    return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}

LRESULT CWhiteBGDlg::OnCtlColorEdit(UINT, WPARAM dc, LPARAM, BOOL&) {
    const auto hdc = reinterpret_cast<HDC>(dc);
    ::SetBkColor(hdc, kBackground);
    ::SetTextColor(hdc, kEditText);
    return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}
