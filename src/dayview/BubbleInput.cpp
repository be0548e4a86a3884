// What closes the detail bubble (the mouse going elsewhere, deactivation, the
// close events, its button) and the tooltips of its cut texts.
#include "BubbleInfor.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ComHolders.h"
#include "Trace.h"

namespace {
constexpr int kTipBelowCursor = 20;

bool IsSelfOrChild(HWND window, HWND candidate) {
    return candidate == window || (candidate && ::IsChild(window, candidate));
}
}  // namespace

HRESULT CBubbleInfor::HandleEvent(UINT code, INT_PTR, INT_PTR, INT_PTR) {
    if ((code == VelEvent::CloseBubble || code == VelEvent::MainFrameHidden) && IsWindow())
        ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return S_OK;
}

LRESULT CBubbleInfor::OnButton(WORD, WORD id, HWND, BOOL&) {
    OnBtnComand(id);
    return 0;
}

void CBubbleInfor::OnBtnComand(int id) {
    CAutoFunTrace trace("CBubbleInfor::OnBtnComand");
    if (!IsWindow()) return;
    if (m_frame) {
        const Bstr key(m_para.m_strKey.c_str());
        if (id == kIdEditButton) {
            m_frame->EditMeeting(key.get(), m_para.m_bNotFromOI, m_para.m_dtStart);
        } else if (id == kIdViewButton) {
            m_frame->ViewMeetingDetail(key.get(), m_para.m_bNotFromOI, m_para.m_dtStart);
        }
    }
    Close();
}

LRESULT CBubbleInfor::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (LOWORD(wParam) == WA_INACTIVE) ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    handled = FALSE;
    return 0;
}

LRESULT CBubbleInfor::OnActivateApp(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (!wParam) ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    handled = FALSE;
    return 0;
}

LRESULT CBubbleInfor::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_bTracking = ::TrackMouseEvent(&track);
    }
    handled = FALSE;
    return 0;
}

LRESULT CBubbleInfor::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
    m_bTracking = FALSE;
    // A full period from now: time to come back, or to reach the item.
    ::SetTimer(m_hWnd, kLeaveTimer, kLeavePeriodMs, nullptr);
    return 0;
}

LRESULT CBubbleInfor::OnTimer(UINT, WPARAM id, LPARAM, BOOL& handled) {
    if (id == kLeaveTimer) {
        if (CursorLeft()) {
            ::KillTimer(m_hWnd, kLeaveTimer);
            Close();
        }
        return 0;
    }
    if (id == kTipTimer) {
        FollowCursorWithTip();
        return 0;
    }
    handled = FALSE;
    return 0;
}

bool CBubbleInfor::CursorLeft() const {
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) return false;
    RECT bubble{};
    ::GetWindowRect(m_hWnd, &bubble);
    const bool inBubble = ::PtInRect(&bubble, cursor) != FALSE;
    const bool inAnchor = ::PtInRect(&m_rcAnchor, cursor) != FALSE;
    if (!inBubble && !inAnchor) return true;
    const HWND under = ::WindowFromPoint(cursor);
    if (inBubble) return !IsSelfOrChild(m_hWnd, under);
    return !(::IsWindow(m_hItem) && IsSelfOrChild(m_hItem, under));
}

const CBubbleInfor::TextControl* CBubbleInfor::CutTextAt(POINT screen) const {
    if (!IsSelfOrChild(m_hWnd, ::WindowFromPoint(screen))) return nullptr;
    for (const TextControl& text : m_texts) {
        if (!text.cut) continue;
        RECT rect{};
        if (::GetWindowRect(text.hwnd, &rect) && ::PtInRect(&rect, screen)) return &text;
    }
    return nullptr;
}

void CBubbleInfor::FollowCursorWithTip() {
    if (!m_tip) return;
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) return;
    const TextControl* over = CutTextAt(cursor);
    const HWND target = over ? over->hwnd : nullptr;
    m_ptTip = cursor;
    if (target == m_tipTarget) return;
    m_tipTarget = target;

    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = m_hWnd;
    info.uId = 0;
    if (!target) {
        ::SendMessageW(m_tip.get(), TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&info));
        return;
    }
    const int length = ::GetWindowTextLengthW(target);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(target, text.data(), length + 1)));
    info.lpszText = text.data();
    ::SendMessageW(m_tip.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(m_tip.get(), TTM_TRACKPOSITION, 0, MAKELPARAM(cursor.x, cursor.y + kTipBelowCursor));
    ::SendMessageW(m_tip.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&info));
}
