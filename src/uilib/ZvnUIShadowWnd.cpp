#include "ZvnUIShadowWnd.h"

#include "DcGuards.h"
#include "UniqueHandle.h"

namespace {
const wchar_t kClassName[] = L"Vel_ZvnUIShadowWnd";
const DWORD kShadowStyle = 0x80880000;    // popup, border, system menu: never shown as such
const DWORD kShadowExStyle = 0xA0;        // transparent to the mouse, no taskbar button
const int kInitialWidth = 600;

// Screen-sharing and remote-control parts of the suite leave windows with
// these properties alone.
const wchar_t* const kSuiteProperties[] = {L"AsNoRemoteControlWindowProp", L"AsBringToTopWhenAnnotationProp",
                                           L"ZvnNotMinimizedAfterSharing", L"LuminetMeeting"};

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

UpdateLayeredWindowFn LayeredUpdate() noexcept {
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<UpdateLayeredWindowFn>(
                      reinterpret_cast<void*>(::GetProcAddress(user, "UpdateLayeredWindow")))
                : nullptr;
}
}  // namespace

bool CZvnUIShadowWnd::AlphaBlends() noexcept {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return !ntdll || !::GetProcAddress(ntdll, "wine_get_version");
}

HWND CZvnUIShadowWnd::Create(HWND owner) {
    if (IsWindow() || !m_image.IsValid()) return m_hWnd;
    WNDCLASSEXW wc{};
    wc.lpszClassName = kClassName;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    if (!RegisterClassOnce(wc)) return nullptr;
    return CreateEx(kShadowExStyle, kClassName, nullptr, kShadowStyle, 0, 0, kInitialWidth, m_image.Height(), owner,
                    nullptr);
}

void CZvnUIShadowWnd::SetImage(CZvnShadowImage image, int mode, const RECT& margins) {
    m_image = std::move(image);
    m_mode = mode;
    m_margins = margins;
}

LRESULT CZvnUIShadowWnd::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    for (const wchar_t* name : kSuiteProperties) ::SetPropW(m_hWnd, name, reinterpret_cast<HANDLE>(1));
    Paint();
    handled = FALSE;
    return 0;
}

LRESULT CZvnUIShadowWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    for (const wchar_t* name : kSuiteProperties) ::RemovePropW(m_hWnd, name);
    handled = FALSE;
    return 0;
}

HBITMAP CZvnUIShadowWnd::RenderBitmap(SIZE size) {
    if (m_mode != kShadowOwnerDraw) return RenderShadowBitmap(m_image, m_mode, m_margins, m_frame, size);
    if (!m_ownerDrawTarget || !::IsWindow(m_ownerDrawTarget)) return nullptr;
    RECT target{0, 0, size.cx, size.cy};
    return reinterpret_cast<HBITMAP>(::SendMessageW(m_ownerDrawTarget, m_ownerDrawMessage,
                                                    reinterpret_cast<WPARAM>(&target),
                                                    reinterpret_cast<LPARAM>(m_image.Handle())));
}

void CZvnUIShadowWnd::Paint() {
    if (!IsWindow()) return;
    const UpdateLayeredWindowFn update = LayeredUpdate();
    if (!update) return;
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    UniqueHbitmap bitmap(RenderBitmap(SIZE{window.right - window.left, window.bottom - window.top}));
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap.get(), sizeof(info), &info) == 0) return;

    WindowDC screen(nullptr);
    UniqueMemDC memory(::CreateCompatibleDC(screen.get()));
    if (!memory) return;
    SelectGuard select(memory.get(), bitmap.get());
    POINT position{window.left, window.top};
    SIZE size{info.bmWidth, info.bmHeight};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    update(m_hWnd, screen.get(), &position, &size, memory.get(), &origin, 0, &blend, ULW_ALPHA);
}
