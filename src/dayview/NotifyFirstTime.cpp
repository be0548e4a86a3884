#include "NotifyFirstTime.h"

#include <algorithm>

#include "DcGuards.h"
#include "FontPool.h"
#include "HostEvents.h"
#include "ModuleState.h"
#include "NotifyLayout.h"
#include "UniqueHandle.h"

using namespace NotifyLayout;

namespace {
// Indexes into the shared font cache (Tahoma).
constexpr int kTitleFont = 4;  // 14 px
constexpr int kBodyFont = 2;   // 12 px
constexpr int kBodyLines = 2;
constexpr DWORD kTextStyle = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | SS_NOPREFIX;

// Inside the round body.
constexpr int kPadLeft = 12;
constexpr int kPadTop = 10;
constexpr int kPadBottom = 10;
constexpr int kTitleGap = 4;
constexpr int kCloseSize = 12;
constexpr int kCloseMargin = 7;  // from the body's top and right edges
constexpr int kCloseGap = 8;     // between the texts and the close button
constexpr int kShadowEdge = 16;

// Height of `text` word-wrapped at the text width in `font`, at most `lines` lines.
int TextHeight(HFONT font, const CStringEx& text, int lines) {
    if (text.IsEmpty()) return 0;
    WindowDC screen(nullptr);
    UniqueMemDC dc(::CreateCompatibleDC(screen.get()));
    if (!dc) return 0;
    SelectGuard selected(dc.get(), font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    const int line = std::max<int>(1, metrics.tmHeight);
    RECT wrapped{0, 0, kTextWidth, 0};
    ::DrawTextW(dc.get(), text.c_str(), text.GetLength(), &wrapped,
                DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    const int needed = std::max(1, static_cast<int>((wrapped.bottom + line - 1) / line));
    return std::min(needed, lines) * line;
}

bool CursorOutside(HWND window) {
    POINT cursor{};
    RECT rect{};
    if (!::GetCursorPos(&cursor) || !::GetWindowRect(window, &rect)) return false;
    return !::PtInRect(&rect, cursor);
}
}  // namespace

CNotifyFirstTime::CNotifyFirstTime() : CTesselShadow(static_cast<CWindowBase&>(*this)) {}

CNotifyFirstTime::~CNotifyFirstTime() {
    // Destroyed while the object is whole, so that its clean-up still runs.
    if (IsWindow()) DestroyWindow();
}

SIZE CNotifyFirstTime::MeasureBody() {
    CFontPool& fonts = CFontPool::Instance();
    m_nTitleHeight = TextHeight(fonts.GetFont(kTitleFont), m_strTitle, 1);
    m_nBodyHeight = TextHeight(fonts.GetFont(kBodyFont), m_strBody, kBodyLines);
    const int texts = m_nTitleHeight + (m_nTitleHeight && m_nBodyHeight ? kTitleGap : 0) + m_nBodyHeight;
    const int height = std::max(kPadTop + texts + kPadBottom, 2 * kCloseMargin + kCloseSize);
    return SIZE{kPadLeft + kTextWidth + kCloseGap + kCloseSize + kCloseMargin, height};
}

BOOL CNotifyFirstTime::Show(HWND owner, const RECT& anchor) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_SAVEBITS;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (IsWindow() || !RegisterClassOnce(wc)) return FALSE;

    m_rcAnchor = anchor;
    m_nTailCode = ChooseTailCode(m_nMode, anchor,
                                 SIZE{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)});
    const Shape shape = PlaceTip(m_nTailCode, anchor, MeasureBody());
    m_tailPoints = shape.tail;
    const RECT& at = shape.window;
    if (!CreateEx(kExStyle, kClassName, L"", kStyle, at.left, at.top, at.right - at.left, at.bottom - at.top, owner,
                  nullptr))
        return FALSE;
    CreateControls(shape.body);
    ApplyShape(shape.body);

    // The shadow's tail lies under the tip's, whichever edge that is on; the
    // tail codes and the shadow's tail positions name the same edges.
    SetTailPosition(m_nTailCode);
    LoadShadowImages(ModuleState::ResourceInstance(), kDefaultBodyImage, kDefaultTailImage);
    SetupShadowAroundBody(shape.body, POINT{at.left + m_tailPoints[2].x, at.top + m_tailPoints[2].y}, kShadowEdge);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    HideShadowUnlessBlended();
    return TRUE;
}

void CNotifyFirstTime::CreateControls(const RECT& body) {
    CFontPool& fonts = CFontPool::Instance();
    auto text = [&](const CStringEx& content, int id, int top, int height, int font) -> HWND {
        if (content.IsEmpty()) return nullptr;
        const HWND control = ::CreateWindowExW(0, L"STATIC", content.c_str(), kTextStyle, body.left + kPadLeft, top,
                                               kTextWidth, height, m_hWnd,
                                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                               ModuleState::Instance(), nullptr);
        if (control) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.GetFont(font)), FALSE);
        return control;
    };
    int y = body.top + kPadTop;
    m_hTitle = text(m_strTitle, kIdTitle, y, m_nTitleHeight, kTitleFont);
    if (m_hTitle) y += m_nTitleHeight + kTitleGap;
    m_hBody = text(m_strBody, kIdBody, y, m_nBodyHeight, kBodyFont);

    const RECT close{body.right - kCloseMargin - kCloseSize, body.top + kCloseMargin, body.right - kCloseMargin,
                     body.top + kCloseMargin + kCloseSize};
    if (!m_closeButton.Create(m_hWnd, close, kIdClose, L"", WS_CHILD | WS_VISIBLE)) return;
    m_closeButton.SetExtendedStyle(CPngButton::kHover);
    m_closeButton.SetImages(kCloseImages[0], kCloseImages[1], kCloseImages[2], kCloseImages[0]);
    m_closeButton.SetBackgroundColor(CBubblePaint::kBodyColor);
}

void CNotifyFirstTime::ApplyShape(const RECT& body) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_look.SetShape(client, body, &m_tailPoints);
    if (HRGN region = m_look.CopyShape()) {
        // The window owns the region from here on.
        if (!::SetWindowRgn(m_hWnd, region, FALSE)) ::DeleteObject(region);
    }
}

LRESULT CNotifyFirstTime::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    SubscribeHostEvents({VelEvent::HostDefined11, VelEvent::MainFrameHidden}, this);
    handled = FALSE;
    return 0;
}

LRESULT CNotifyFirstTime::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kLeaveTimer);
    m_bLeaveTimer = FALSE;
    UnsubscribeHostEvents({VelEvent::HostDefined11, VelEvent::MainFrameHidden}, this);
    m_closeButton.DestroyWindow();
    for (HWND* text : {&m_hTitle, &m_hBody}) {
        if (*text) ::DestroyWindow(*text);
        *text = nullptr;
    }
    m_bTracking = FALSE;
    m_look.ResetShape();
    handled = FALSE;
    return 0;
}

HRESULT CNotifyFirstTime::HandleEvent(UINT code, INT_PTR, INT_PTR, INT_PTR) {
    if (code == VelEvent::MainFrameHidden && IsWindow()) ::PostMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return S_OK;
}

LRESULT CNotifyFirstTime::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CNotifyFirstTime::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    m_look.PaintBubble(dc.get());
    return 0;
}

LRESULT CNotifyFirstTime::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item || item->CtlType != ODT_STATIC) {
        handled = FALSE;
        return 0;
    }
    CBubblePaint::DrawStaticText(*item, item->hwndItem == m_hBody ? kBodyLines : 1);
    return TRUE;
}

LRESULT CNotifyFirstTime::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_bTracking) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_bTracking = ::TrackMouseEvent(&track);
    }
    handled = FALSE;
    return 0;
}

LRESULT CNotifyFirstTime::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
    // The system tracks one leave per request: the next move asks again.
    m_bTracking = FALSE;
    // Gone onto the close button the tip has lost the mouse too, and may not
    // hear of it leaving from there: the tick looks for itself.
    if (CursorOutside(m_hWnd) || !m_bLeaveTimer) {
        ::SetTimer(m_hWnd, kLeaveTimer, kLeavePeriodMs, nullptr);
        m_bLeaveTimer = TRUE;
    }
    return 0;
}

LRESULT CNotifyFirstTime::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != kLeaveTimer) {
        handled = FALSE;
        return 0;
    }
    if (CursorOutside(m_hWnd)) {
        DestroyWindow();
    } else {
        m_bTracking = FALSE;
    }
    return 0;
}

LRESULT CNotifyFirstTime::OnClose(WORD, WORD, HWND, BOOL&) {
    ::SendMessageW(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}
