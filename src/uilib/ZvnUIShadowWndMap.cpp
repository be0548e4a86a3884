#include "ZvnUIShadowWndMap.h"

namespace {
const UINT kShowWithoutChanges = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;  // 87
}

CZvnUIShadowWndMap::CZvnUIShadowWndMap(CWindowBase& owner)
    : m_shadow(std::make_unique<CZvnUIShadowWnd>()), m_owner(owner) {}

CZvnUIShadowWndMap::~CZvnUIShadowWndMap() = default;

void CZvnUIShadowWndMap::SetShadowImage(CZvnShadowImage image, int mode, const RECT& margins) {
    if (!m_shadow) m_shadow = std::make_unique<CZvnUIShadowWnd>();
    m_shadow->SetImage(std::move(image), mode, margins);
}

RECT CZvnUIShadowWndMap::ShadowRect(const RECT& owner, const RECT& e, const RECT& i) noexcept {
    return RECT{owner.left - e.left + i.left, owner.top - e.top + i.top, owner.right + e.right - i.right,
                owner.bottom + e.bottom - i.bottom};
}

BOOL CZvnUIShadowWndMap::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT&, DWORD) {
    switch (uMsg) {
    case WM_CREATE:
    case WM_INITDIALOG:
        CreateShadow();
        break;
    case WM_MOVE:
        RepositionShadow(MoveNeedsRepaint());
        break;
    case WM_SIZE:
        RepositionShadow(true);
        break;
    case WM_SHOWWINDOW:
        if (m_shadow && m_shadow->IsWindow()) {
            if (wParam && m_enabled) {
                ::SetWindowPos(m_shadow->m_hWnd, nullptr, 0, 0, 0, 0, kShowWithoutChanges);
                RepositionShadow(true);
            } else {
                ::ShowWindow(m_shadow->m_hWnd, SW_HIDE);
            }
        }
        break;
    case WM_DESTROY:
        if (m_shadow) m_shadow->DestroyWindow();
        break;
    default:
        break;
    }
    return FALSE;
}

void CZvnUIShadowWndMap::CreateShadow() {
    const HWND owner = OwnerWindow();
    if (!owner || !::IsWindow(owner) || !m_enabled) return;
    if (!m_shadow) m_shadow = std::make_unique<CZvnUIShadowWnd>();
    if (!m_shadow->IsWindow() && m_shadow->HasImage()) m_shadow->Create(owner);
}

void CZvnUIShadowWndMap::RepositionShadow(bool repaint) {
    const HWND owner = OwnerWindow();
    if (!m_enabled || !m_shadow || !m_shadow->IsWindow() || !owner) return;
    RECT window{};
    if (!::GetWindowRect(owner, &window) || ::IsRectEmpty(&window)) return;
    const RECT shadow = ShadowRect(window, m_extents, m_insets);
    ::MoveWindow(m_shadow->m_hWnd, shadow.left, shadow.top, shadow.right - shadow.left, shadow.bottom - shadow.top,
                 TRUE);
    if (repaint) m_shadow->Paint();
}

bool CZvnUIShadowWndMap::MoveNeedsRepaint() const noexcept {
    if (::GetSystemMetrics(SM_CMONITORS) < 2) return false;
    RECT window{};
    if (!::GetWindowRect(OwnerWindow(), &window)) return false;
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT screen{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return window.left >= screen.left && window.top >= screen.top && window.right <= screen.right &&
           window.bottom <= screen.bottom;
}
