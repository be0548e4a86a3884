#include "VelStaticEx.h"

#include <vector>

#include "DcGuards.h"

BOOL CVelStaticEx::Attach(HWND dialog, int id, HFONT font) {
    HWND control = ::GetDlgItem(dialog, id);
    if (!control) return FALSE;
    m_hWnd = control;
    m_hFont = font;
    if (font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return TRUE;
}

void CVelStaticEx::SetText(const wchar_t* text) {
    if (Exists()) ::SetWindowTextW(m_hWnd, text ? text : L"");
}

CStringEx CVelStaticEx::GetText() const {
    if (!Exists()) return {};
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    return CStringEx(buffer.data());
}

int CVelStaticEx::MeasureText(const wchar_t* text) const {
    if (!Exists() || !text || !*text) return 0;
    WindowDC dc(m_hWnd);
    SelectGuard font(dc.get(), m_hFont ? static_cast<HGDIOBJ>(m_hFont) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT rect{0, 0, 0, 0};
    UINT format = DT_SINGLELINE | DT_CALCRECT | DT_LEFT;
    if ((::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & SS_NOPREFIX) != 0) format |= DT_NOPREFIX;
    ::DrawTextW(dc.get(), text, -1, &rect, format);
    return rect.right - rect.left;
}

void CVelStaticEx::FitText() {
    if (!Exists()) return;
    int width = MeasureText(GetText().c_str());
    if (m_nFitWidth > 0 && width > m_nFitWidth) width = m_nFitWidth;
    const RECT rect = GetRectInParent();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT CVelStaticEx::GetRectInParent() const {
    RECT rect{};
    if (!Exists()) return rect;
    ::GetWindowRect(m_hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CVelStaticEx::Move(const RECT& rect) {
    if (Exists())
        ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void CVelStaticEx::Show(bool show) {
    if (Exists()) ::ShowWindow(m_hWnd, show ? SW_SHOWNA : SW_HIDE);
}
