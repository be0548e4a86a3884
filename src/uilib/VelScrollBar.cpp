#include "VelScrollBar.h"

#include "DcGuards.h"
#include "ModuleState.h"
#include "UniqueHandle.h"

CVelScrollBar::~CVelScrollBar() {
    if (IsWindow()) DestroyWindow();
}

void CVelScrollBar::SetButtonLook(UINT normalImage, UINT disabledImage, UINT tipString) noexcept {
    m_normalImage = normalImage;
    m_disabledImage = disabledImage;
    m_tipString = tipString;
}

HWND CVelScrollBar::Create(HWND parent, const RECT& rect, UINT id) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassOnce(wc)) return nullptr;
    return CreateEx(0, kClassName, L"", kStyle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CVelScrollBar::Enable(bool enable) {
    if (!IsWindow()) return;
    // WM_ENABLE only follows a change, and the button may have been switched
    // on its own: both follow every call, and a change is drawn at once.
    const BOOL wanted = enable ? TRUE : FALSE;
    bool changed = (::IsWindowEnabled(m_hWnd) != FALSE) != enable;
    ::EnableWindow(m_hWnd, wanted);
    if (m_button.IsWindow()) {
        changed = changed || (::IsWindowEnabled(m_button.m_hWnd) != FALSE) != enable;
        ::EnableWindow(m_button.m_hWnd, wanted);
    }
    if (changed) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CVelScrollBar::OnCreate(UINT, WPARAM, LPARAM lParam, BOOL&) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    const UINT id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(create->hMenu));
    // Not a tab stop: the strip is reached by the mouse; the keyboard scrolls the view.
    if (!m_button.Create(m_hWnd, RECT{0, 0, 1, 1}, id, L"", WS_CHILD | WS_VISIBLE)) return -1;
    m_button.SetImages(m_normalImage, m_normalImage, m_normalImage, m_disabledImage);
    m_button.SetBackgroundColor(kBackground);
    if (m_tipString) m_button.SetToolTipText(m_tipString);
    m_button.SizeToImage();
    CentreButton();
    return 0;
}

LRESULT CVelScrollBar::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    CentreButton();
    return 0;
}

void CVelScrollBar::CentreButton() {
    if (!m_button.IsWindow()) return;
    RECT client{}, button{};
    ::GetClientRect(m_hWnd, &client);
    ::GetWindowRect(m_button.m_hWnd, &button);
    const int width = button.right - button.left;
    const int height = button.bottom - button.top;
    ::SetWindowPos(m_button.m_hWnd, nullptr, (client.right - width) / 2, (client.bottom - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CVelScrollBar::OnEnable(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (m_button.IsWindow()) ::EnableWindow(m_button.m_hWnd, wParam ? TRUE : FALSE);
    return 0;
}

LRESULT CVelScrollBar::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CVelScrollBar::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    PaintStrip(dc.get());
    return 0;
}

LRESULT CVelScrollBar::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
    PaintStrip(reinterpret_cast<HDC>(wParam));
    return 0;
}

void CVelScrollBar::PaintStrip(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (client.bottom <= 0 || client.right <= 0) return;
    UniqueHbrush white(::CreateSolidBrush(kBackground));
    ::FillRect(dc, &client, white.get());
    // The line marks where the strip meets the items: below the up strip,
    // above the down strip.
    RECT line = client;
    if (m_kind == kUp)
        line.top = client.bottom - 1;
    else
        line.bottom = client.top + 1;
    UniqueHbrush grey(::CreateSolidBrush(kEdgeLine));
    ::FillRect(dc, &line, grey.get());
}

LRESULT CVelScrollBar::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (reinterpret_cast<HWND>(lParam) != m_button.m_hWnd || HIWORD(wParam) != BN_CLICKED) {
        handled = FALSE;
        return 0;
    }
    NMHDR header{};
    header.hwndFrom = m_hWnd;
    header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd));
    header.code = m_kind;
    ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    return 0;
}
