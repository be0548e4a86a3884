#include "PngButton.h"
#include "SolidFill.h"

#include <commctrl.h>

#include "DcGuards.h"
#include "DibFormat.h"
#include "ModuleState.h"
#include "ResourceImageCache.h"
#include "VelGdiplus.h"

const wchar_t CPngButton::kClassName[] = L"Vel_PngButton";

namespace {
bool IsClickKey(WPARAM key) noexcept { return key == VK_SPACE || key == VK_RETURN; }

}  // namespace

CPngButton::CPngButton(DWORD extendedStyle, BOOL eraseBackground) noexcept
    : m_dwExtendedStyle(extendedStyle), m_bEraseBackground(eraseBackground) {}

CPngButton::~CPngButton() {
    // The window (and with it the tooltip) goes first: its last messages may
    // still paint with the pictures below.
    if (IsWindow()) DestroyWindow();
}

HWND CPngButton::Create(HWND parent, const RECT& rect, UINT id, const wchar_t* caption, DWORD style) {
    WNDPROC buttonProc = nullptr;
    if (!RegisterSuperclassOnce(L"Button", kClassName, &buttonProc)) return nullptr;
    m_superWindowProc = buttonProc;
    return CreateEx(0, kClassName, caption, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

BOOL CPngButton::SubclassWindow(HWND button) {
    if (!CWindowBase::SubclassWindow(button)) return FALSE;
    Init();
    return TRUE;
}

void CPngButton::Init() {
    // Owner-drawn, so the control's own painting never shows through ours.
    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_OWNERDRAW);
    ResetToolTip();
    if ((m_dwExtendedStyle & kAutoSize) != 0) SizeToImage();
}

// ---------------------------------------------------------------- attributes

void CPngButton::SetImageMap(int normal, int pushed, int hot, int disabled) noexcept {
    const int slots[4] = {normal, pushed, hot, disabled};
    for (size_t i = 0; i < 4; ++i)
        if (slots[i] >= 0 && slots[i] <= 3) m_nImage[i] = slots[i];
}

// A picture given by number is decoded when the button first needs it (its
// first paint, or its size): windows made ahead of time, hidden or never
// shown, decode nothing.
BOOL CPngButton::SetImage(int slot, UINT imageId) {
    if (slot < 0 || slot > 3) return FALSE;
    if (!DeferImage(static_cast<size_t>(slot), imageId)) return FALSE;
    if (slot == m_nImage[kNormal] && (m_dwExtendedStyle & kAutoSize) != 0 && IsWindow()) SizeToImage();
    return TRUE;
}

void CPngButton::SetImage(int slot, std::unique_ptr<Gdiplus::Image> image) {
    if (slot < 0 || slot > 3) return;
    m_images[static_cast<size_t>(slot)] = std::move(image);
    m_imageIds[static_cast<size_t>(slot)] = 0;
    if (slot == m_nImage[kNormal] && (m_dwExtendedStyle & kAutoSize) != 0 && IsWindow()) SizeToImage();
}

bool CPngButton::DeferImage(size_t slot, UINT imageId) {
    // The same picture again (items switch faces on every refresh) keeps the decoded one.
    if (imageId != 0 && imageId == m_imageIds[slot] && m_images[slot]) return true;
    m_images[slot].reset();
    m_imageIds[slot] = 0;
    if (!CResourceImageCache::Exists(imageId)) return false;
    m_imageIds[slot] = imageId;
    return true;
}

Gdiplus::Image* CPngButton::Image(int slot) {
    if (slot < 0 || slot > kIconSlot) return nullptr;
    const size_t index = static_cast<size_t>(slot);
    // A picture that fails to decode is tried once; the slot then stays empty.
    if (!m_images[index] && m_imageIds[index] != 0) {
        m_images[index] = CVelGdiplus::LoadResourceImage(m_imageIds[index]);
        if (!m_images[index]) m_imageIds[index] = 0;
    }
    return m_images[index].get();
}

BOOL CPngButton::SetImages(UINT normal, UINT pushed, UINT hot, UINT disabled) {
    const UINT ids[4] = {normal, pushed, hot, disabled};
    BOOL all = TRUE;
    for (int slot = 0; slot < 4; ++slot)
        if (ids[slot] != 0 && !SetImage(slot, ids[slot])) all = FALSE;
    return all;
}

BOOL CPngButton::SetIcon(UINT imageId) { return DeferImage(kIconSlot, imageId) ? TRUE : FALSE; }

void CPngButton::SetIcon(std::unique_ptr<Gdiplus::Image> icon) {
    m_images[kIconSlot] = std::move(icon);
    m_imageIds[kIconSlot] = 0;
}

void CPngButton::SetFonts(HFONT normal, HFONT disabled) noexcept {
    m_hFont = normal;
    m_hDisabledFont = disabled;
}

void CPngButton::SetTextColors(COLORREF normal, COLORREF disabled) noexcept {
    m_clrText = normal;
    m_clrDisabledText = disabled;
}

void CPngButton::SetToolTipText(const std::wstring& text) {
    m_tipText = text;
    if (!m_tip) return;
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = ::GetParent(m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    ::SendMessageW(m_tip.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    AddTool();
}

BOOL CPngButton::SetToolTipText(UINT stringId) {
    const wchar_t* text = nullptr;
    HINSTANCE resources = ModuleState::ResourceInstance();
    const int length = resources ? ::LoadStringW(resources, stringId, reinterpret_cast<wchar_t*>(&text), 0) : 0;
    if (length <= 0 || !text) return FALSE;
    SetToolTipText(std::wstring(text, static_cast<size_t>(length)));
    return TRUE;
}

// The frames are decoded when the animation first runs.
BOOL CPngButton::SetBusyFrames(const std::vector<UINT>& imageIds) {
    m_busyFrames.clear();
    m_busyFrameIds.clear();
    m_nBusyFrame = 0;
    BOOL all = TRUE;
    for (UINT id : imageIds) {
        if (CResourceImageCache::Exists(id))
            m_busyFrameIds.push_back(id);
        else
            all = FALSE;
    }
    return all;
}

void CPngButton::AddBusyFrame(std::unique_ptr<Gdiplus::Image> frame) {
    LoadBusyFrames();
    if (frame) m_busyFrames.push_back(std::move(frame));
}

void CPngButton::LoadBusyFrames() {
    for (UINT id : m_busyFrameIds)
        if (std::unique_ptr<Gdiplus::Image> frame = CVelGdiplus::LoadResourceImage(id))
            m_busyFrames.push_back(std::move(frame));
    m_busyFrameIds.clear();
}

BOOL CPngButton::StartBusyAnimation(UINT periodMs) {
    LoadBusyFrames();
    if (m_busyFrames.empty() || !IsWindow()) return FALSE;
    ::EnableWindow(m_hWnd, FALSE);
    m_nBusyFrame = 0;
    m_bBusy = TRUE;
    StartTimer(kTimerBusy, periodMs);
    return TRUE;
}

void CPngButton::StopBusyAnimation() {
    m_bBusy = FALSE;
    if (!IsWindow()) return;
    StopTimer(kTimerBusy);
    ::EnableWindow(m_hWnd, TRUE);
    Repaint();
}

void CPngButton::SizeToImage() {
    if (!IsWindow()) return;
    const size_t slot = static_cast<size_t>(m_nImage[kNormal]);
    SIZE size{};
    if (m_images[slot]) {
        size = {static_cast<LONG>(m_images[slot]->GetWidth()), static_cast<LONG>(m_images[slot]->GetHeight())};
    } else if (m_imageIds[slot] == 0 || !CResourceImageCache::Size(m_imageIds[slot], size)) {
        return;
    }
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPngButton::Repaint() {
    if (!IsWindow()) return;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::UpdateWindow(m_hWnd);
}

CPngButton::State CPngButton::CurrentState() const noexcept {
    if (!::IsWindowEnabled(m_hWnd)) return kDisabled;
    if (m_dwState & kStatePressed) return kPushed;
    if ((m_dwState & kStateFocused) || ((m_dwState & kStateHot) && (m_dwExtendedStyle & kHover))) return kHot;
    return kNormal;
}

// ---------------------------------------------------------------- helpers

void CPngButton::ResetToolTip() {
    // Hides a tip that is showing; it comes back on the next hover. A button
    // the mouse has not reached yet has no tip control to reset.
    if (!m_tip) return;
    ::SendMessageW(m_tip.get(), TTM_ACTIVATE, FALSE, 0);
    ::SendMessageW(m_tip.get(), TTM_ACTIVATE, TRUE, 0);
}

// The tip control is a top-level window of its own, and a day's window holds
// dozens of buttons: each makes its tip when the mouse first comes to it, not
// when it is created.
void CPngButton::CreateToolTip() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_tip.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                  ModuleState::Instance(), nullptr));
    if (!m_tip) return;
    AddTool();
    ::SendMessageW(m_tip.get(), TTM_ACTIVATE, TRUE, 0);
}

void CPngButton::AddTool() {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = ::GetParent(m_hWnd);
    info.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
    info.lpszText = m_tipText.empty() ? LPSTR_TEXTCALLBACKW : m_tipText.data();
    ::SendMessageW(m_tip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CPngButton::StartTimer(UINT_PTR id, UINT periodMs) {
    if (::SetTimer(m_hWnd, id, periodMs, nullptr)) m_timers |= TimerBit(id);
}

void CPngButton::StopTimer(UINT_PTR id) {
    if ((m_timers & TimerBit(id)) == 0) return;
    ::KillTimer(m_hWnd, id);
    m_timers &= ~TimerBit(id);
}

void CPngButton::PostCommand() const {
    ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND,
                   MAKEWPARAM(static_cast<WORD>(::GetDlgCtrlID(m_hWnd)), BN_CLICKED),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

// ---------------------------------------------------------------- painting

void CPngButton::DoPaint(HDC target) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;

    UniqueMemDC memory(::CreateCompatibleDC(target));
    UniqueHbitmap canvas(CreateBackBuffer(width, height));
    if (!memory || !canvas) return;
    SelectGuard selectCanvas(memory.get(), canvas.get());
    const HDC dc = memory.get();

    FillSolid(dc, client, m_clrBackground);

    Gdiplus::Image* face = nullptr;
    HFONT font = nullptr;
    COLORREF color = 0;
    if (m_bBusy) LoadBusyFrames();
    if (m_bBusy && !m_busyFrames.empty()) {
        if (m_nBusyFrame >= m_busyFrames.size()) m_nBusyFrame = 0;
        face = m_busyFrames[m_nBusyFrame].get();
        ++m_nBusyFrame;
        font = m_hFont;
        color = m_clrDisabledText;
    } else {
        const int slot = m_nImage[CurrentState()];
        face = Image(slot);
        font = slot == kDisabled ? m_hDisabledFont : m_hFont;
        color = slot == kDisabled ? m_clrDisabledText : m_clrText;
    }
    CVelGdiplus::DrawNineGrid(dc, 0, 0, width, height, face, m_nCorner);

    int iconWidth = 0;
    if (Gdiplus::Image* icon = Image(kIconSlot)) {
        iconWidth = static_cast<int>(icon->GetWidth());
        CVelGdiplus::DrawImage(dc, m_nLeftMargin, (height - static_cast<int>(icon->GetHeight())) / 2, icon);
    }

    if (font) {
        const int length = ::GetWindowTextLengthW(m_hWnd);
        std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
        caption.resize(static_cast<size_t>(::GetWindowTextW(m_hWnd, caption.data(), length + 1)));
        RECT textRect{m_nLeftMargin + iconWidth + (iconWidth > 0 ? 4 : 0) - 1, 0, width - m_nLeftMargin + 1, height};
        SelectGuard selectFont(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, color);
        ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- messages

LRESULT CPngButton::OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (!m_tip) CreateToolTip();
    if (m_tip) {
        MSG msg{m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
        const DWORD pos = ::GetMessagePos();
        msg.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        ::SendMessageW(m_tip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    handled = FALSE;
    return 0;
}

LRESULT CPngButton::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    Init();
    handled = FALSE;
    return 0;
}

LRESULT CPngButton::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    // Only the timers that run: a day's window destroys dozens of buttons, and
    // each kill is a request to the window server.
    for (UINT_PTR id : {kTimerFirstRepeat, kTimerRepeat, kTimerBusy}) StopTimer(id);
    m_tip.reset();
    handled = FALSE;
    return 0;
}

LRESULT CPngButton::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (m_bEraseBackground) {
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        FillSolid(reinterpret_cast<HDC>(wParam), client, m_clrBackground);
    }
    return 1;
}

LRESULT CPngButton::OnPaint(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (wParam != 0) {
        DoPaint(reinterpret_cast<HDC>(wParam));
    } else {
        PaintDC paint(m_hWnd);
        DoPaint(paint.get());
    }
    return 0;
}

LRESULT CPngButton::OnFocus(UINT message, WPARAM, LPARAM, BOOL& handled) {
    if (message == WM_SETFOCUS)
        m_dwState |= kStateFocused;
    else
        m_dwState &= ~kStateFocused;
    Repaint();
    handled = FALSE;
    return 0;
}

LRESULT CPngButton::OnEnable(UINT, WPARAM, LPARAM, BOOL&) {
    Repaint();
    return 0;
}

LRESULT CPngButton::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (HasCapture()) {
        POINT cursor{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::ClientToScreen(m_hWnd, &cursor);
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        const DWORD pressed = ::PtInRect(&window, cursor) ? DWORD{kStatePressed} : DWORD{0};
        if ((m_dwState & kStatePressed) != pressed) {
            m_dwState = (m_dwState & ~kStatePressed) | pressed;
            Repaint();
        }
    } else if ((m_dwExtendedStyle & kHover) && !(m_dwState & kStateHot)) {
        m_dwState |= kStateHot;
        Repaint();
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        ::TrackMouseEvent(&track);
    }
    // The control still follows the cursor for its own click logic.
    handled = FALSE;
    return 0;
}

LRESULT CPngButton::OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    LRESULT result = 0;
    if (m_dwExtendedStyle & kHover)
        ::SetCapture(m_hWnd);
    else
        result = DefaultProc(message, wParam, lParam);
    if (HasCapture()) {
        m_dwState |= kStatePressed;
        Repaint();
    }
    if ((m_dwExtendedStyle & kAutoRepeat) && (m_dwState & kStatePressed)) {
        int delay = 0;
        UINT elapse = 250;
        if (::SystemParametersInfoW(SPI_GETKEYBOARDDELAY, 0, &delay, 0)) elapse += static_cast<UINT>(delay) * 250;
        StartTimer(kTimerFirstRepeat, elapse);
    }
    return result;
}

LRESULT CPngButton::OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    LRESULT result = 0;
    const bool hover = (m_dwExtendedStyle & kHover) != 0;
    // Without hover tracking the control makes the ordinary click itself.
    if (!hover) result = DefaultProc(message, wParam, lParam);
    if (HasCapture()) {
        if (hover && (m_dwState & kStatePressed)) PostCommand();
        ::ReleaseCapture();
        ResetToolTip();
    }
    return result;
}

LRESULT CPngButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_dwState & kStateHot) {
        m_dwState &= ~kStateHot;
        Repaint();
    }
    return 0;
}

LRESULT CPngButton::OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (m_dwState & kStatePressed) {
        m_dwState &= ~kStatePressed;
        Repaint();
    }
    handled = FALSE;
    return 0;
}

LRESULT CPngButton::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (IsClickKey(wParam)) {
        m_dwState |= kStatePressed;
        Repaint();
    }
    return 0;
}

LRESULT CPngButton::OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (IsClickKey(wParam) && (m_dwState & kStatePressed)) {
        m_dwState &= ~kStatePressed;
        Repaint();
        PostCommand();
    }
    return 0;
}

LRESULT CPngButton::OnGetDlgCode(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
    LRESULT code = DefaultProc(message, wParam, lParam);
    // Enter must reach the button rather than press the dialog's default button.
    const MSG* asked = reinterpret_cast<const MSG*>(lParam);
    if (asked && asked->message == WM_KEYDOWN &&
        (asked->wParam == VK_RETURN || asked->wParam == VK_SPACE || asked->wParam == VK_EXECUTE))
        code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT CPngButton::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    switch (wParam) {
    case kTimerFirstRepeat:
        StopTimer(kTimerFirstRepeat);
        if (m_dwState & kStatePressed) {
            PostCommand();
            UINT elapse = 250;
            int speed = 0;
            if (::SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0))
                elapse = static_cast<UINT>(10000 / (10 * speed + 25));
            StartTimer(kTimerRepeat, elapse);
        }
        return 0;
    case kTimerRepeat:
        if (m_dwState & kStatePressed)
            PostCommand();
        else if (!HasCapture())
            StopTimer(kTimerRepeat);
        return 0;
    case kTimerBusy:
        Repaint();
        return 0;
    default:
        handled = FALSE;
        return 0;
    }
}

LRESULT CPngButton::OnUpdateUiState(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
