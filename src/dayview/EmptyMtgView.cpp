#include "EmptyMtgView.h"

#include "DcGuards.h"
#include "FontPool.h"
#include "UniqueHandle.h"

namespace {
constexpr int kHintFont = 11;  // Tahoma 12 px bold
constexpr int kLinkFont = 2;   // Tahoma 12 px
}  // namespace

CEmptyMtgView::~CEmptyMtgView() = default;

LRESULT CEmptyMtgView::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CFontPool& fonts = CFontPool::Instance();
    m_hint.Attach(m_hWnd, kIdHint, fonts.GetFont(kHintFont));
    m_link.Attach(m_hWnd, kIdLink, fonts.GetFont(kLinkFont));
    return FALSE;
}

LRESULT CEmptyMtgView::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    // The template cannot know the view's width: both texts stay centred.
    const int width = LOWORD(lParam);
    for (const CVelStaticEx* control : {&m_hint, &m_link}) {
        if (!control->Exists()) continue;
        const RECT rect = control->GetRectInParent();
        ::SetWindowPos(control->GetHwnd(), nullptr, (width - (rect.right - rect.left)) / 2, rect.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

LRESULT CEmptyMtgView::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CEmptyMtgView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    UniqueHbrush white(::CreateSolidBrush(RGB(255, 255, 255)));
    ::FillRect(dc.get(), &client, white.get());
    return 0;
}

LRESULT CEmptyMtgView::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, reinterpret_cast<HWND>(lParam) == m_link.GetHwnd() ? kLinkText : kHintText);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

LRESULT CEmptyMtgView::OnSetCursor(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (reinterpret_cast<HWND>(wParam) != m_link.GetHwnd()) {
        handled = FALSE;
        return 0;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

LRESULT CEmptyMtgView::OnLinkClicked(UINT, WPARAM, LPARAM, BOOL&) {
    ScheduleMeeting();
    return 0;
}

LRESULT CEmptyMtgView::OnLinkCommand(WORD notifyCode, WORD, HWND, BOOL& handled) {
    if (notifyCode != STN_CLICKED) {
        handled = FALSE;
        return 0;
    }
    // The link control tells its owner the way the framework's hyperlink does.
    ::SendMessageW(m_hWnd, kLinkClickedMessage, kIdLink, reinterpret_cast<LPARAM>(m_link.GetHwnd()));
    return 0;
}

void CEmptyMtgView::ScheduleMeeting() const {
    HWND frame = m_frame ? m_frame->FrameWindow() : nullptr;
    if (frame && ::IsWindow(frame)) ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kScheduleCommand, 0), 0);
}

BOOL CEmptyMtgView::PreTranslateMessage(MSG* msg) {
    if (!msg || !IsWindow()) return FALSE;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && msg->hwnd == ::GetParent(m_hWnd) &&
        ::IsWindowVisible(m_hWnd)) {
        ScheduleMeeting();
        return FALSE;
    }
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}
