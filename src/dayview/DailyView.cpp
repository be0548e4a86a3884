#include "DailyView.h"
#include "SolidFill.h"

#include "DcGuards.h"
#include "HostEvents.h"
#include "ModuleState.h"
#include "Registry.h"
#include "Trace.h"
#include "UniqueHandle.h"

namespace {
DWORD ReadSetting(const wchar_t* name) {
    DWORD value = 0;
    if (!CRegistry::ReadDword(HKEY_CURRENT_USER, kQuillkitKey, name, &value)) return 0;
    return value;
}

void WriteSetting(const wchar_t* name, DWORD value) {
    CRegistry::WriteDword(HKEY_CURRENT_USER, kQuillkitKey, name, value);
}

void Place(HWND window, const RECT& rect, UINT flags) {
    ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   flags | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

CDailyView::CDailyView(IDailyMeetingSink* sink, IFrameServices* frame)
    : m_container(frame), m_pDailyMeetingSink(sink), m_emptyView(std::make_unique<CEmptyMtgView>(frame)) {
    m_upStrip.SetButtonLook(kUpImage, kUpDisabledImage, kUpTipString);
    m_downStrip.SetButtonLook(kDownImage, kDownDisabledImage, kDownTipString);
}

CDailyView::~CDailyView() {
    // The children go with the window; the objects behind them are members.
    if (IsWindow()) DestroyWindow();
}

HWND CDailyView::Create(HWND parent, const RECT& rect, DWORD style, UINT id) {
    if (!RegisterDayViewClass(kClassName)) return nullptr;
    return CreateEx(0, kClassName, nullptr, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

LRESULT CDailyView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (!m_emptyView->Create(m_hWnd)) return -1;
    ::ShowWindow(m_emptyView->m_hWnd, SW_HIDE);

    if (!m_dateStrip.Create(m_hWnd)) {
        TraceError("CDailyView::OnCreate DateTimeCtrl Fail");
        return -1;
    }
    Place(m_dateStrip.m_hWnd, DailyViewLayout::Compute(client, 0).dateStrip, SWP_SHOWWINDOW);

    const RECT below{client.left, client.top + DailyViewLayout::kDateStripHeight, client.right, client.bottom};
    if (!m_container.Create(m_hWnd, below)) {
        TraceError("CDailyView::OnCreate ItemWndControl Fail");
        return -1;
    }
    m_layout = DailyViewLayout::Compute(client, m_container.GetItemHeight());

    if (!m_upStrip.Create(m_hWnd, m_layout.upStrip, kUpStripId)) {
        TraceError("CDailyView::OnCreate UpScrollBar Fail");
        return -1;
    }
    if (!m_downStrip.Create(m_hWnd, m_layout.downStrip, kDownStripId)) {
        TraceError("CDailyView::OnCreate DownScrollBar Fail");
        return -1;
    }
    // One pixel short of six rows: the down strip begins on the area's last row.
    ::MoveWindow(m_container.m_hWnd, m_layout.items.left, m_layout.items.top, m_layout.items.right - m_layout.items.left,
                 m_layout.items.bottom - m_layout.items.top, TRUE);
    return 0;
}

LRESULT CDailyView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_nScrollTimer) ::KillTimer(m_hWnd, m_nScrollTimer);
    m_nScrollTimer = 0;
    m_nStep = 0;
    m_container.DestroyAll();
    handled = FALSE;
    return 0;
}

LRESULT CDailyView::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CDailyView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    PaintBelowItems(dc.get());
    return 0;
}

LRESULT CDailyView::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
    PaintBelowItems(reinterpret_cast<HDC>(wParam));
    return 0;
}

void CDailyView::PaintBelowItems(HDC dc) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const RECT fill = m_layout.FillBelowItems(client, m_container.GetTotalHeight());
    FillSolid(dc, fill, RGB(255, 255, 255));
}

// ---------------------------------------------------------------- refresh

void CDailyView::RefreshDailyView() {
    if (!m_pDailyMeetingSink || !IsWindow()) return;
    // A scroll under way is finished first, so that the new layout starts from rest.
    StopScrollAnimation(m_nLastDirection);
    m_bBusy = TRUE;
    FireHostEvent(VelEvent::CloseBubble);

    if (m_dateStrip.SetDate(m_pDailyMeetingSink->GetCurrentDate())) {
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        ::UpdateWindow(m_hWnd);
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const RECT area = DailyViewLayout::Compute(client, 0).below;
    // The empty view only shows until a day with meetings has been seen once;
    // after that an empty day is an empty item area.
    const bool empty = m_pDailyMeetingSink->GetMeetingCount() == 0 && ReadSetting(kShowOnceSchedule) != 1;
    if (m_emptyView->IsWindow()) Place(m_emptyView->m_hWnd, area, empty ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    for (HWND part : {m_upStrip.m_hWnd, m_downStrip.m_hWnd, m_container.m_hWnd})
        ::ShowWindow(part, empty ? SW_HIDE : SW_SHOW);
    if (!empty) WriteSetting(kShowOnceSchedule, 1);

    RefreshScrollBar();
    m_container.ShowWndList(m_pDailyMeetingSink);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
    m_bBusy = FALSE;
}

void CDailyView::RefreshScrollBar() {
    if (!m_pDailyMeetingSink) {
        TraceError("CDailyView::RefreshScrollBar  NULL == m_pDailyMeetingSink ");
        return;
    }
    const int count = m_pDailyMeetingSink->GetMeetingCount();
    if (count == 0) {
        m_upStrip.Enable(false);
        m_downStrip.Enable(false);
    } else {
        m_upStrip.Enable(m_pDailyMeetingSink->GetFirstVisibleIndex() != 0);
        m_downStrip.Enable(m_pDailyMeetingSink->GetLastVisibleIndex() + 1 < count);
    }
    ShowPastMeetingTip();
}

void CDailyView::ShowPastMeetingTip() {
    if (m_pastMeetingTip || !m_upStrip.IsEnabled() || !::IsWindowVisible(m_upStrip.m_hWnd)) return;
    if (ReadSetting(kShowOncePastMeeting) == 1) return;
    m_pastMeetingTip = std::make_unique<CNotifyFirstTime>();
    m_pastMeetingTip->SetMode(0);
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), kPastMeetingTipString);
    m_pastMeetingTip->SetBodyText(text);
    RECT anchor{};
    ::GetWindowRect(m_upStrip.m_hWnd, &anchor);
    m_pastMeetingTip->Show(m_upStrip.m_hWnd, anchor);
    WriteSetting(kShowOncePastMeeting, 1);
}

// ---------------------------------------------------------------- scrolling

void CDailyView::ScrollUp() {
    if (m_bBusy) return;
    ::SetFocus(m_hWnd);
    if (!m_pDailyMeetingSink || !m_pDailyMeetingSink->ScrollUp()) return;
    m_bBusy = TRUE;
    StartScrollAnimation(ScrollType_up);
}

void CDailyView::ScrollDown() {
    if (m_bBusy) return;
    ::SetFocus(m_hWnd);
    if (!m_pDailyMeetingSink || !m_pDailyMeetingSink->ScrollDown()) return;
    m_bBusy = TRUE;
    StartScrollAnimation(ScrollType_down);
}

void CDailyView::StartScrollAnimation(int direction) {
    if (m_nScrollTimer) return;
    m_nStep = 0;
    m_nLastDirection = direction;
    m_nScrollTimer = ::SetTimer(m_hWnd, direction == ScrollType_up ? kUpTimer : kDownTimer, kAnimationPeriodMs, nullptr);
}

LRESULT CDailyView::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != kUpTimer && wParam != kDownTimer) {
        handled = FALSE;
        return 0;
    }
    if (wParam != m_nScrollTimer) {
        // A tick of a scroll that has already been completed.
        ::KillTimer(m_hWnd, wParam);
        return 0;
    }
    const int direction = wParam == kUpTimer ? ScrollType_up : ScrollType_down;
    if (m_nStep != CItemWndController::kLastStep) {
        m_nLastDirection = direction;
        m_container.ShowAnimation(m_pDailyMeetingSink, m_nStep, direction);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        ::UpdateWindow(m_hWnd);
        ++m_nStep;
        return 0;
    }
    ::KillTimer(m_hWnd, wParam);
    FinishScrollStep(direction);
    return 0;
}

void CDailyView::FinishScrollStep(int direction) {
    RefreshScrollBar();
    m_container.ShowAnimation(m_pDailyMeetingSink, CItemWndController::kLastStep, direction);
    m_bBusy = FALSE;
    m_nStep = 0;
    m_nScrollTimer = 0;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

void CDailyView::StopScrollAnimation(int direction) {
    if (!m_nScrollTimer || direction != m_nLastDirection) return;
    ::KillTimer(m_hWnd, direction == ScrollType_up ? kUpTimer : kDownTimer);
    // Stopped before its first tick, the scroll still has to bring its rows in.
    if (m_nStep == 0) m_container.ShowAnimation(m_pDailyMeetingSink, 0, direction);
    FinishScrollStep(direction);
}

BOOL CDailyView::SetHighlight(int meetingIndex) {
    if (meetingIndex == -1) return m_container.SetHighlight(-1);
    const int row = m_container.RowOfMeeting(meetingIndex);
    return row >= 0 ? m_container.SetHighlight(row) : FALSE;
}
