// What the keyboard, the wheel, the strips and clicks do in the day view:
// move the highlight (scrolling when it reaches an edge), change the day, and
// act on the highlighted meeting.
#include "DailyView.h"
#include "HostEvents.h"

BOOL CDailyView::PreTranslateMessage(MSG* msg) {
    if (!msg || !IsWindow()) return FALSE;
    if (m_emptyView->PreTranslateMessage(msg)) return TRUE;
    for (CItemWnd* item : m_container.GetShownItems())
        if (item->PreTranslateMessage(msg)) return TRUE;
    if (msg->message != WM_KEYDOWN || msg->hwnd != m_hWnd) return FALSE;

    const int row = m_container.GetHighlightIndex();
    switch (msg->wParam) {
    case VK_RETURN:
        if (row >= 0) m_container.DefaultAction(row);
        return TRUE;
    case VK_SPACE: {
        if (!m_pDailyMeetingSink) return FALSE;
        const int first = m_pDailyMeetingSink->GetFirstVisibleIndex();
        const int last = m_pDailyMeetingSink->GetLastVisibleIndex();
        if (row < 0 || row > last - first) return FALSE;
        m_container.ShowBubble(first + row, row);
        return TRUE;
    }
    case VK_LEFT:
        PreviousDay();
        return FALSE;
    case VK_RIGHT:
        NextDay();
        return FALSE;
    case VK_UP:
        HighlightUp();
        return FALSE;
    case VK_DOWN:
        HighlightDown();
        return FALSE;
    default:
        return FALSE;
    }
}

void CDailyView::HighlightUp() {
    if (m_nStep != 0) return;
    FireHostEvent(VelEvent::CloseBubble);
    const int row = m_container.GetHighlightIndex();
    if (row >= 1) {
        m_container.SetHighlight(row - 1);
        return;
    }
    // At the top the window scrolls; the entering meeting pushes the
    // highlighted one down a row, so the highlight stays on its meeting.
    ScrollUp();
    m_container.SetHighlight(0);
}

void CDailyView::HighlightDown() {
    if (m_nStep != 0) return;
    FireHostEvent(VelEvent::CloseBubble);
    if (!m_container.SetHighlight(m_container.GetHighlightIndex() + 1)) ScrollDown();
}

void CDailyView::PreviousDay() { ChangeDay(-1.0); }

void CDailyView::NextDay() { ChangeDay(1.0); }

void CDailyView::ChangeDay(double days) {
    if (m_bBusy) return;
    ::SetFocus(m_hWnd);
    m_container.SetHighlight(-1);
    if (m_pDailyMeetingSink) m_pDailyMeetingSink->SetCurrentDate(m_pDailyMeetingSink->GetCurrentDate() + days);
    RefreshDailyView();
}

LRESULT CDailyView::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header) {
        handled = FALSE;
        return 0;
    }
    if (header->hwndFrom == m_dateStrip.m_hWnd && header->idFrom == CDateTimeCtrl::kPreviousNotifyId &&
        header->code == CDateTimeCtrl::kPreviousNotifyCode)
        PreviousDay();
    else if (header->hwndFrom == m_dateStrip.m_hWnd && header->idFrom == CDateTimeCtrl::kNextNotifyId &&
             header->code == CDateTimeCtrl::kNextNotifyCode)
        NextDay();
    else if (header->hwndFrom == m_upStrip.m_hWnd && header->code == CVelScrollBar::kUp)
        ScrollUp();
    else if (header->hwndFrom == m_downStrip.m_hWnd && header->code == CVelScrollBar::kDown)
        ScrollDown();
    else
        handled = FALSE;
    return 0;
}

LRESULT CDailyView::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (m_bBusy) return 0;
    const short delta = static_cast<short>(HIWORD(wParam));
    if (delta > 0)
        HighlightUp();
    else if (delta < 0)
        HighlightDown();
    return 0;
}

LRESULT CDailyView::OnGetDlgCode(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (!msg || msg->message != WM_KEYDOWN || msg->hwnd != m_hWnd) {
        handled = FALSE;
        return 0;
    }
    switch (msg->wParam) {
    case VK_TAB: {
        // Tab leaves the view for the list view's first button, Shift+Tab
        // for its refresh button, whatever the dialog's own order says.
        HWND parent = ::GetParent(m_hWnd);
        const int target = ::GetKeyState(VK_SHIFT) < 0 ? kShiftTabTarget : kTabTarget;
        if (HWND control = parent ? ::GetDlgItem(parent, target) : nullptr)
            ::PostMessageW(parent, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        return DLGC_WANTTAB;
    }
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        ::SetFocus(m_hWnd);
        return DLGC_WANTARROWS;
    default:
        handled = FALSE;
        return 0;
    }
}

LRESULT CDailyView::OnSysKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    // Shift+F10 is the keyboard's context menu for the highlighted meeting.
    if (wParam != VK_F10 || ::GetKeyState(VK_SHIFT) >= 0) {
        handled = FALSE;
        return 0;
    }
    const int row = m_container.GetHighlightIndex();
    if (row >= 0) m_container.OpenContextMenu(row);
    return 0;
}

LRESULT CDailyView::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    ::SetFocus(m_hWnd);
    return 0;
}

LRESULT CDailyView::OnHighlightRow(UINT, WPARAM wParam, LPARAM, BOOL&) {
    ::SetFocus(m_hWnd);
    m_container.SetHighlight(static_cast<int>(wParam));
    return 0;
}
