#include "CommonErrorDlg.h"

#include "DcGuards.h"
#include "FontPool.h"
#include "ModuleState.h"
#include "Trace.h"

int CCommonErrorDlg::ButtonImageFor(UINT drawState) noexcept {
    if (drawState & ODS_DISABLED) return kDisabled;
    if (drawState & ODS_SELECTED) return kPushed;
    if (drawState & ODS_HOTLIGHT) return kHot;
    if (drawState & ODS_FOCUS) return kFocused;
    return kNormal;
}

LRESULT CCommonErrorDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CAutoFunTrace trace("CCommonErrorDlg::OnInitDialog");
    const HINSTANCE resources = ModuleState::ResourceInstance();
    wchar_t text[512] = {};
    if (resources) ::LoadStringW(resources, kMessageString, text, static_cast<int>(std::size(text)));
    ::SetDlgItemTextW(m_hWnd, kMessageControl, text);
    SetUpButton();
    m_icons.Set(m_hWnd, resources, kIcon);
    return TRUE;
}

void CCommonErrorDlg::SetUpButton() {
    const HINSTANCE resources = ModuleState::ResourceInstance();
    if (!resources) return;
    for (size_t i = 0; i < std::size(kButtonBitmaps); ++i)
        m_bitmaps[i].reset(static_cast<HBITMAP>(
            ::LoadImageW(resources, MAKEINTRESOURCEW(kButtonBitmaps[i]), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    BITMAP info{};
    if (!m_bitmaps[0] || !::GetObjectW(m_bitmaps[0].get(), sizeof(info), &info)) return;
    m_images.reset(::ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 5, 0));
    if (!m_images) return;
    for (const UniqueHbitmap& bitmap : m_bitmaps)
        ::ImageList_AddMasked(m_images.get(), bitmap ? bitmap.get() : m_bitmaps[0].get(), kTransparent);
    // The button takes the size of its pictures.
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDOK), nullptr, 0, 0, info.bmWidth, info.bmHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CCommonErrorDlg::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!draw || draw->CtlID != IDOK) {
        handled = FALSE;
        return 0;
    }
    ::FillRect(draw->hDC, &draw->rcItem, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (m_images) ::ImageList_Draw(m_images.get(), ButtonImageFor(draw->itemState), draw->hDC, 0, 0, ILD_TRANSPARENT);
    wchar_t caption[64] = {};
    ::GetWindowTextW(draw->hwndItem, caption, static_cast<int>(std::size(caption)));
    HFONT font = CFontPool::Exists() ? CFontPool::Instance().GetFont(kButtonFont) : nullptr;
    if (!font) font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
    SelectGuard select(draw->hDC, font);
    ::SetBkMode(draw->hDC, TRANSPARENT);
    ::SetTextColor(draw->hDC, (draw->itemState & ODS_DISABLED) ? kDisabledText : kText);
    RECT rect = draw->rcItem;
    ::DrawTextW(draw->hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return TRUE;
}

LRESULT CCommonErrorDlg::OnClose(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id);
    return 0;
}

LRESULT CCommonErrorDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    CAutoFunTrace trace("CCommonErrorDlg::OnDestroy");
    m_icons.Clear(m_hWnd);
    m_images.reset();
    for (UniqueHbitmap& bitmap : m_bitmaps) bitmap.reset();
    handled = FALSE;
    return 0;
}
