#include "WindowBase.h"

#include "ModuleState.h"

namespace {
const wchar_t kThisProperty[] = L"Qk.WindowObject";
}

CWindowBase::~CWindowBase() {
    // An object that dies before its window must not be reached again through
    // the window's pointer.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        ::RemovePropW(m_hWnd, kThisProperty);
        // A control taken over keeps working without us.
        if (m_superWindowProc)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superWindowProc));
        ::DestroyWindow(m_hWnd);
    }
}

HWND CWindowBase::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                           int width, int height, HWND parent, HMENU menuOrId) {
    if (IsWindow()) return nullptr;
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                             ModuleState::Instance(), this);
}

bool CWindowBase::RegisterClassOnce(WNDCLASSEXW wc) {
    wc.cbSize = sizeof(wc);
    wc.hInstance = ModuleState::Instance();
    wc.lpfnWndProc = &CWindowBase::StartWindowProc;
    WNDCLASSEXW existing{sizeof(existing)};
    if (::GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return true;
    return ::RegisterClassExW(&wc) != 0;
}

CWindowBase* CWindowBase::FromHandle(HWND hwnd) noexcept {
    return hwnd ? static_cast<CWindowBase*>(::GetPropW(hwnd, kThisProperty)) : nullptr;
}

bool CWindowBase::SubclassWindow(HWND hwnd) noexcept {
    if (IsWindow() || !::IsWindow(hwnd) || FromHandle(hwnd)) return false;
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kThisProperty, this);
    m_superWindowProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowBase::WindowProc)));
    return true;
}

bool CWindowBase::RegisterSuperclassOnce(const wchar_t* baseClass, const wchar_t* newName, WNDPROC* baseProc) {
    WNDCLASSEXW wc{sizeof(wc)};
    if (!::GetClassInfoExW(nullptr, baseClass, &wc)) return false;
    *baseProc = wc.lpfnWndProc;
    // The control keeps its class bytes, cursor and styles; only the name,
    // the owner and the first procedure change.
    wc.lpszClassName = newName;
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    return RegisterClassOnce(wc);
}

void CWindowBase::OnFinalMessage(HWND) {}

LRESULT CWindowBase::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return CallSuper(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowBase::CallSuper(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (m_superWindowProc) return ::CallWindowProcW(m_superWindowProc, hwnd, message, wParam, lParam);
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowBase::StartWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<CWindowBase*>(create->lpCreateParams);
        if (self) {
            self->m_hWnd = hwnd;
            ::SetPropW(hwnd, kThisProperty, self);
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowBase::WindowProc));
            return self->Dispatch(message, wParam, lParam);
        }
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CWindowBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowBase* self = FromHandle(hwnd);
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return self->Dispatch(message, wParam, lParam);
}

LRESULT CWindowBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const HWND hwnd = m_hWnd;
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        handled = ProcessWindowMessage(hwnd, message, wParam, lParam, result);
    } catch (...) {
        // A handler that throws has failed; the message is answered as unhandled.
        handled = FALSE;
    }
    if (!handled) result = CallSuper(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::RemovePropW(hwnd, kThisProperty);
        if (m_hWnd == hwnd) m_hWnd = nullptr;
        OnFinalMessage(hwnd);  // may delete this
    }
    return result;
}
