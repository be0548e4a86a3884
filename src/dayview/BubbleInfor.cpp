#include "BubbleInfor.h"

#include <windows.h>
#include <commctrl.h>

#include "BubbleLayout.h"
#include "DcGuards.h"
#include "HostEvents.h"
#include "ModuleState.h"
#include "Trace.h"

using namespace BubbleLayout;

const wchar_t CBubbleInfor::kWindowTitle[] = L"Veltra DesktopBubble";
const wchar_t CBubbleInfor::kClassName[] = L"Vel_DesktopBubble";

namespace {
// The shadow's soft edge is as wide as the inset it gives back on each side,
// and lies just outside the bubble's body: on the tail's side the body starts
// a tail's depth inside the window.
constexpr int kShadowEdge = 16;
constexpr int kTipMaxWidth = 320;

int CenterY(const RECT& rect) { return rect.top + (rect.bottom - rect.top) / 2; }

RECT WorkArea() {
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return work;
}
}  // namespace

CBubbleInfor::CBubbleInfor(IFrameServices* frame) noexcept
    : CTesselShadow(static_cast<CWindowBase&>(*this)), m_frame(frame) {}

CBubbleInfor::~CBubbleInfor() {
    // Closed while the object is whole, so that the window's own clean-up
    // (events, timers, tooltip) still runs.
    Close();
}

BOOL CBubbleInfor::CreateMyWindow(HWND item, const RECT& anchor, const CBubblePara& para) {
    CAutoFunTrace trace("CBubbleInfor::CreateMyWindow");
    // One bubble at a time, whichever list view opened the other one.
    if (const HWND open = ::FindWindowW(nullptr, kWindowTitle)) ::SendMessageW(open, WM_CLOSE, 0, 0);
    Close();

    m_hItem = item;
    m_rcAnchor = anchor;
    m_para = para;
    ComputeLabelWidth();
    GetBubbleRect();

    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    wc.style = CS_SAVEBITS;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    if (!RegisterClassOnce(wc) ||
        !CreateEx(kExStyle, kClassName, kWindowTitle, kStyle, m_rcBubble.left, m_rcBubble.top,
                  m_rcBubble.right - m_rcBubble.left, m_rcBubble.bottom - m_rcBubble.top, item, nullptr)) {
        TraceError("CBubbleInfor::CreateMyWindow::Create bubble fail");
        return FALSE;
    }

    CreateControls();
    FitHeight();
    ApplyShape();
    SetupBubbleShadow();
    CreateToolTip();

    SubscribeHostEvents({VelEvent::CloseBubble, VelEvent::HostDefined11, VelEvent::MainFrameHidden}, this);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    HideShadowUnlessBlended();
    ::SetTimer(m_hWnd, kLeaveTimer, kLeavePeriodMs, nullptr);
    ::SetTimer(m_hWnd, kTipTimer, kTipPeriodMs, nullptr);
    return TRUE;
}

void CBubbleInfor::Close() {
    if (IsWindow()) DestroyWindow();
}

BOOL CBubbleInfor::IsShown() const { return IsWindow() && ::IsWindowVisible(m_hWnd) ? TRUE : FALSE; }

void CBubbleInfor::GetBubbleRect() {
    TraceText(4, "CBubbleInfor::GetBubbleRect");
    const RECT work = WorkArea();
    const Placement placement = PlaceBubble(m_rcAnchor, ::GetSystemMetrics(SM_CXSCREEN), work, kInitialHeight);
    m_rcBubble = placement.rect;
    m_nTailSide = placement.tailSide;
    m_bHasTail = BubbleLayout::HasTail(m_rcAnchor, work) ? TRUE : FALSE;
}

void CBubbleInfor::FitHeight() {
    const int height = m_nY + kBottomMargin;
    RECT rect = m_rcBubble;
    rect.top = CenterY(m_rcAnchor) - height / 2;
    rect.bottom = rect.top + height;
    m_rcBubble = MoveIntoWorkArea(rect, WorkArea());
    ::SetWindowPos(m_hWnd, nullptr, m_rcBubble.left, m_rcBubble.top, m_rcBubble.right - m_rcBubble.left,
                   m_rcBubble.bottom - m_rcBubble.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBubbleInfor::ApplyShape() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const SIZE size{client.right, client.bottom};
    m_tailPoints = TailTriangle(m_nTailSide, size, CenterY(m_rcAnchor) - m_rcBubble.top);
    SetShape(client, BodyRect(m_nTailSide, size), m_bHasTail ? &m_tailPoints : nullptr);
    if (HRGN region = CopyShape()) {
        // The window owns the region from here on.
        if (!::SetWindowRgn(m_hWnd, region, FALSE)) ::DeleteObject(region);
    }
}

void CBubbleInfor::SetupBubbleShadow() {
    int position = CTesselShadow::kTailNone;
    if (m_bHasTail)
        position = m_nTailSide == kBubbleLeftOfItem ? CTesselShadow::kTailRight : CTesselShadow::kTailLeft;
    SetTailPosition(position);
    LoadShadowImages(ModuleState::ResourceInstance(), CTesselShadow::kDefaultBodyImage,
                     CTesselShadow::kDefaultTailImage);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const POINT tip{m_rcBubble.left + m_tailPoints[2].x, m_rcBubble.top + m_tailPoints[2].y};
    SetupShadowAroundBody(BodyRect(m_nTailSide, SIZE{client.right, client.bottom}), tip, kShadowEdge);
}

void CBubbleInfor::CreateToolTip() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_tip.reset(::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, ModuleState::Instance(), nullptr));
    if (!m_tip) return;
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    // Tracked by hand from the tip timer; transparent so that the tip never
    // stands between the cursor and the text it explains.
    info.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    info.hwnd = m_hWnd;
    info.uId = 0;
    info.lpszText = const_cast<wchar_t*>(L"");
    ::SendMessageW(m_tip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    ::SendMessageW(m_tip.get(), TTM_SETMAXTIPWIDTH, 0, kTipMaxWidth);
    m_tipTarget = nullptr;
}

LRESULT CBubbleInfor::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CBubbleInfor::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    PaintBubble(dc.get());
    return 0;
}

LRESULT CBubbleInfor::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (!item || item->CtlType != ODT_STATIC) {
        handled = FALSE;
        return 0;
    }
    int lines = 1;
    for (const TextControl& text : m_texts)
        if (text.hwnd == item->hwndItem) lines = text.lines;
    DrawStaticText(*item, lines);
    return TRUE;
}

LRESULT CBubbleInfor::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&) {
    // The file icons sit on the white body as they are.
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

LRESULT CBubbleInfor::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kLeaveTimer);
    ::KillTimer(m_hWnd, kTipTimer);
    UnsubscribeHostEvents({VelEvent::CloseBubble, VelEvent::HostDefined11, VelEvent::MainFrameHidden}, this);
    m_tip.reset();
    m_tipTarget = nullptr;
    m_texts.clear();
    m_bTracking = FALSE;
    ResetShape();
    handled = FALSE;
    return 0;
}

void CBubbleInfor::OnFinalMessage(HWND) {
    // The icon statics are gone by now; their icons were only lent to them.
    m_fileIcons.clear();
}
