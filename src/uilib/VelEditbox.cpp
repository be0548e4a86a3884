#include "VelEditbox.h"
#include "SolidFill.h"

#include "DcGuards.h"
#include "UniqueHandle.h"

BOOL CVelEditbox::Attach(HWND dialog, int id) {
    const HWND edit = ::GetDlgItem(dialog, id);
    if (!edit || !SubclassWindow(edit)) return FALSE;
    ::SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(kTextMargin, kTextMargin));
    ::RedrawWindow(edit, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return TRUE;
}

void CVelEditbox::DrawBorder(HDC dc) const {
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    const RECT border{0, 0, window.right - window.left, window.bottom - window.top};
    FrameSolid(dc, border, ::GetFocus() == m_hWnd ? kFocusBorder : kBorder);
}

LRESULT CVelEditbox::OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    // The control's own frame first (scroll bars, if any), then the border over it.
    const LRESULT result = DefaultProc(message, wParam, lParam);
    const WindowDC dc(m_hWnd, WindowDC::WholeWindow);
    if (dc.get()) DrawBorder(dc.get());
    return result;
}

LRESULT CVelEditbox::OnPrint(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    const auto dc = reinterpret_cast<HDC>(wParam);
    // The default printing may leave the origin moved to the client area.
    const int saved = dc ? ::SaveDC(dc) : 0;
    const LRESULT result = DefaultProc(message, wParam, lParam);
    if (saved) ::RestoreDC(dc, saved);
    if ((lParam & PRF_NONCLIENT) && dc) DrawBorder(dc);
    return result;
}

LRESULT CVelEditbox::OnFocusChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    const LRESULT result = DefaultProc(message, wParam, lParam);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return result;
}
