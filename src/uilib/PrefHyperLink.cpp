#include "PrefHyperLink.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "DcGuards.h"

namespace {
std::wstring TextOf(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The static control's own alignment and prefix styles, for drawing the text as it would.
UINT TextFormat(HWND window) {
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    UINT format = DT_SINGLELINE | DT_TOP;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER; break;
    case SS_RIGHT: format |= DT_RIGHT; break;
    default: format |= DT_LEFT; break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    return format;
}
}  // namespace

CPrefHyperLink::~CPrefHyperLink() = default;

BOOL CPrefHyperLink::SubclassWindow(HWND control) {
    if (!CWindowBase::SubclassWindow(control)) return FALSE;
    if (!m_hFont) SetLinkFont(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    return TRUE;
}

void CPrefHyperLink::SetLinkColors(COLORREF normal, COLORREF visited) noexcept {
    m_clrLink = normal;
    m_clrVisited = visited;
}

void CPrefHyperLink::SetLinkFont(HFONT font) {
    m_hFont = font;
    LOGFONTW look{};
    if (!::GetObjectW(font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(look), &look))
        return;
    look.lfUnderline = TRUE;
    m_linkFont.reset(::CreateFontIndirectW(&look));
    if (IsWindow()) {
        // The static keeps the plain font for measuring by others.
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        RedrawWithParent();
    }
}

void CPrefHyperLink::SetNotifyTarget(HWND target, UINT message) noexcept {
    m_hTarget = target;
    m_nNotifyMessage = message;
}

RECT CPrefHyperLink::GetLinkRect() const {
    RECT client{};
    if (!IsWindow() || !::GetClientRect(m_hWnd, &client)) return client;
    const std::wstring text = TextOf(m_hWnd);
    if (text.empty()) return RECT{};
    WindowDC dc(m_hWnd);
    SelectGuard font(dc.get(), m_linkFont ? static_cast<HGDIOBJ>(m_linkFont.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT measured{};
    const UINT format = TextFormat(m_hWnd);
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    const LONG width = std::min<LONG>(measured.right - measured.left, client.right);
    LONG left = 0;
    if (format & DT_CENTER) left = (client.right - width) / 2;
    if (format & DT_RIGHT) left = client.right - width;
    return RECT{left, 0, left + width, std::min<LONG>(measured.bottom - measured.top, client.bottom)};
}

bool CPrefHyperLink::InLink(LPARAM clientPoint) const {
    const POINT at{static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
    const RECT link = GetLinkRect();
    return ::PtInRect(&link, at) != FALSE;
}

void CPrefHyperLink::Navigate() {
    const HWND parent = ::GetParent(m_hWnd);
    const int id = ::GetDlgCtrlID(m_hWnd);
    if (m_dwExtendedStyle & kNotifyButton) {
        NMHDR header{m_hWnd, static_cast<UINT_PTR>(id), static_cast<UINT>(NM_CLICK)};
        ::SendMessageW(parent, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&header));
    } else if (m_dwExtendedStyle & kCommandButton) {
        ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
    } else {
        return;
    }
    m_bVisited = TRUE;
}

void CPrefHyperLink::RedrawWithParent() {
    const HWND parent = ::GetParent(m_hWnd);
    if (!parent) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return;
    }
    RECT area{};
    ::GetWindowRect(m_hWnd, &area);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
    ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CPrefHyperLink::OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&) {
    // A static without SS_NOTIFY would let the mouse through to its parent.
    return HTCLIENT;
}

LRESULT CPrefHyperLink::OnSetCursor(UINT, WPARAM, LPARAM, BOOL& handled) {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    const RECT link = GetLinkRect();
    if (!::PtInRect(&link, cursor)) {
        handled = FALSE;
        return 0;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

LRESULT CPrefHyperLink::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (!InLink(lParam)) return 0;
    ::SetFocus(m_hWnd);
    ::SetCapture(m_hWnd);
    return 0;
}

LRESULT CPrefHyperLink::OnLButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (::GetCapture() != m_hWnd) return 0;
    ::ReleaseCapture();
    // A press that slid off the text is no click.
    if (!InLink(lParam)) return 0;
    if (m_bNotifyOnClick && m_hTarget && m_nNotifyMessage) {
        m_bVisited = TRUE;
        ::SendMessageW(m_hTarget, m_nNotifyMessage, static_cast<WPARAM>(::GetDlgCtrlID(m_hWnd)),
                       reinterpret_cast<LPARAM>(m_hWnd));
    } else {
        Navigate();
    }
    return 0;
}

LRESULT CPrefHyperLink::OnGetDlgCode(UINT, WPARAM, LPARAM lParam, BOOL&) {
    // Enter is ours while we have the focus, not the dialog's default button.
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTCHARS | DLGC_WANTMESSAGE;
    return DLGC_WANTCHARS;
}

LRESULT CPrefHyperLink::OnKeyDown(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    constexpr LPARAM kRepeat = 1 << 30;
    if (wParam != VK_RETURN && wParam != VK_SPACE) {
        handled = FALSE;
        return 0;
    }
    // A held key activates the link once.
    if (!(lParam & kRepeat)) Navigate();
    return 0;
}

LRESULT CPrefHyperLink::OnLookChanged(UINT, WPARAM, LPARAM, BOOL& handled) {
    RedrawWithParent();
    handled = FALSE;
    return 0;
}

LRESULT CPrefHyperLink::OnSetText(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    const LRESULT result = DefaultProc(message, wParam, lParam);
    RedrawWithParent();
    return result;
}

LRESULT CPrefHyperLink::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CPrefHyperLink::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    // The parent chooses the background, as for any static: a hollow brush
    // (a transparent link) leaves the parent's painting as it is.
    const HWND parent = ::GetParent(m_hWnd);
    const auto brush = reinterpret_cast<HBRUSH>(
        parent ? ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                reinterpret_cast<LPARAM>(m_hWnd))
               : 0);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (brush && brush != ::GetStockObject(HOLLOW_BRUSH)) ::FillRect(dc.get(), &client, brush);

    const std::wstring text = TextOf(m_hWnd);
    SelectGuard font(dc.get(), m_linkFont ? static_cast<HGDIOBJ>(m_linkFont.get()) : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), ::IsWindowEnabled(m_hWnd) ? (m_bVisited ? m_clrVisited : m_clrLink)
                                                       : ::GetSysColor(COLOR_GRAYTEXT));
    RECT link = GetLinkRect();
    ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &link, TextFormat(m_hWnd));
    if (::GetFocus() == m_hWnd) ::DrawFocusRect(dc.get(), &link);
    return 0;
}
