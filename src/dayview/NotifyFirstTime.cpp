#include "NotifyFirstTime.h"

#include "DcGuards.h"
#include "FontPool.h"
#include "HostEvents.h"
#include "ModuleState.h"
#include "UniqueHandle.h"

namespace {
constexpr int kTitleFont = 4;  // Tahoma 14 px
constexpr int kBodyFont = 2;   // Tahoma 12 px
constexpr int kGap = 4;
constexpr int kCode2Drop = 5;
constexpr UINT kBodyFormat = DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS;

int MeasureHeight(HDC dc, HFONT font, const CStringEx& text, UINT format) {
    if (text.IsEmpty()) return 0;
    SelectGuard selected(dc, font);
    RECT rect{0, 0, CNotifyFirstTime::kTextWidth, 0};
    ::DrawTextW(dc, text.c_str(), -1, &rect, format | DT_CALCRECT);
    return rect.bottom;
}
}  // namespace

CNotifyFirstTime::~CNotifyFirstTime() {
    if (IsWindow()) DestroyWindow();
}

void CNotifyFirstTime::UnregisterWindowClass() noexcept { ::UnregisterClassW(kClassName, ModuleState::Instance()); }

SIZE CNotifyFirstTime::MeasureContent() const {
    WindowDC dc(nullptr);
    CFontPool& fonts = CFontPool::Instance();
    const int title = MeasureHeight(dc.get(), fonts.GetFont(kTitleFont), m_strTitle, DT_SINGLELINE | DT_NOPREFIX);
    // The body keeps to two lines.
    const int line = MeasureHeight(dc.get(), fonts.GetFont(kBodyFont), CStringEx(L"Ag"), DT_SINGLELINE);
    int body = MeasureHeight(dc.get(), fonts.GetFont(kBodyFont), m_strBody, kBodyFormat);
    if (body > 2 * line) body = 2 * line;
    return SIZE{kTextWidth + 2 * kPadding, title + (title ? kGap : 0) + body + 2 * kPadding};
}

BOOL CNotifyFirstTime::Show(HWND owner, const RECT& anchor) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_SAVEBITS;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (IsWindow() || !RegisterClassOnce(wc)) return FALSE;
    m_rcAnchor = anchor;
    const SIZE size = MeasureContent();
    const int middleX = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int middleY = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    const int centreX = (anchor.left + anchor.right) / 2;
    const int centreY = (anchor.top + anchor.bottom) / 2;
    POINT at{};
    if (m_nMode == 0) {
        m_nTailCode = centreX < middleX ? 1 : 2;
        at.x = m_nTailCode == 1 ? anchor.right : anchor.left - size.cx;
        at.y = centreY - size.cy / 2 + (m_nTailCode == 2 ? kCode2Drop : 0);
    } else {
        m_nTailCode = centreY < middleY ? 3 : 4;
        at.x = centreX - size.cx / 2;
        at.y = m_nTailCode == 3 ? anchor.bottom : anchor.top - size.cy;
    }
    if (!CreateEx(kExStyle, kClassName, L"", kStyle, at.x, at.y, size.cx, size.cy, owner, nullptr)) return FALSE;
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    return TRUE;
}

LRESULT CNotifyFirstTime::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    SubscribeHostEvents({VelEvent::HostDefined11, VelEvent::MainFrameHidden}, this);
    m_bSubscribed = true;
    return 0;
}

LRESULT CNotifyFirstTime::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_bSubscribed) UnsubscribeHostEvents({VelEvent::HostDefined11, VelEvent::MainFrameHidden}, this);
    m_bSubscribed = false;
    handled = FALSE;
    return 0;
}

HRESULT CNotifyFirstTime::HandleEvent(UINT code, INT_PTR, INT_PTR, INT_PTR) {
    if (code == VelEvent::MainFrameHidden && IsWindow()) ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return S_OK;
}

LRESULT CNotifyFirstTime::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    UniqueHbrush background(::CreateSolidBrush(kBackground));
    ::FillRect(dc.get(), &client, background.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), kText);
    CFontPool& fonts = CFontPool::Instance();
    RECT text{kPadding, kPadding, kPadding + kTextWidth, client.bottom - kPadding};
    if (!m_strTitle.IsEmpty()) {
        SelectGuard font(dc.get(), fonts.GetFont(kTitleFont));
        ::DrawTextW(dc.get(), m_strTitle.c_str(), -1, &text, DT_SINGLELINE | DT_NOPREFIX);
        text.top += MeasureHeight(dc.get(), fonts.GetFont(kTitleFont), m_strTitle, DT_SINGLELINE) + kGap;
    }
    SelectGuard font(dc.get(), fonts.GetFont(kBodyFont));
    ::DrawTextW(dc.get(), m_strBody.c_str(), -1, &text, kBodyFormat);
    return 0;
}

LRESULT CNotifyFirstTime::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    DestroyWindow();
    return 0;
}
