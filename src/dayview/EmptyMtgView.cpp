#include "EmptyMtgView.h"
#include "SolidFill.h"

#include <commctrl.h>

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
    if (!fonts.GetFont(kHintFont)) return FALSE;
    m_hint.Attach(m_hWnd, kIdHint, fonts.GetFont(kHintFont));
    if (m_link.SubclassWindow(::GetDlgItem(m_hWnd, kIdLink))) {
        m_link.SetHyperLinkExtendedStyle(CPrefHyperLink::kCommandButton | CPrefHyperLink::kNotifyButton);
        m_link.SetLinkFont(fonts.GetFont(kLinkFont));
        m_link.SetNotifyTarget(m_hWnd, kLinkClickedMessage);
    }
    return FALSE;
}

LRESULT CEmptyMtgView::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    // The template cannot know the view's width: both texts stay centred.
    const int width = LOWORD(lParam);
    for (int id : {kIdHint, kIdLink}) {
        const HWND control = ::GetDlgItem(m_hWnd, id);
        RECT rect{};
        if (!control || !::GetWindowRect(control, &rect)) continue;
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        ::SetWindowPos(control, nullptr, (width - (rect.right - rect.left)) / 2, rect.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return 0;
}

LRESULT CEmptyMtgView::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CEmptyMtgView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    FillSolid(dc.get(), client, RGB(255, 255, 255));
    return 0;
}

LRESULT CEmptyMtgView::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&) {
    // The hint in grey; the link draws in its own colour. Both lie on the
    // white this view paints.
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, kHintText);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

LRESULT CEmptyMtgView::OnLinkClicked(UINT, WPARAM, LPARAM, BOOL&) {
    ScheduleMeeting();
    return 0;
}

LRESULT CEmptyMtgView::OnLinkNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    // The link with the focus answers Enter and Space this way.
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->idFrom != kIdLink || header->code != static_cast<UINT>(NM_CLICK)) {
        handled = FALSE;
        return 0;
    }
    ScheduleMeeting();
    return 0;
}

LRESULT CEmptyMtgView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_hint = CVelStaticEx();
    handled = FALSE;
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
