#include "WindowBase.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "ModuleState.h"

namespace {
// Classes registered against this binary's instance must be gone before the
// binary is unloaded, or the next class of that name would point into freed code.
struct RegisteredClasses {
    std::mutex lock;
    std::vector<std::wstring> names;
};
RegisteredClasses& Registered() {
    static RegisteredClasses registered;
    return registered;
}
}  // namespace

CWindowBase::~CWindowBase() {
    // An object that dies before its window must not be reached again through
    // the window's pointer.
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        const HWND hwnd = m_hWnd;
        Detach();
        // A control taken over keeps working without us.
        if (m_superWindowProc)
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superWindowProc));
        ::DestroyWindow(hwnd);
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
    if (::RegisterClassExW(&wc) == 0) return false;
    if (!IS_INTRESOURCE(wc.lpszClassName)) {
        RegisteredClasses& registered = Registered();
        const std::lock_guard<std::mutex> hold(registered.lock);
        if (std::find(registered.names.begin(), registered.names.end(), wc.lpszClassName) == registered.names.end())
            registered.names.emplace_back(wc.lpszClassName);
    }
    return true;
}

void CWindowBase::UnregisterClasses() noexcept {
    RegisteredClasses& registered = Registered();
    const std::lock_guard<std::mutex> hold(registered.lock);
    // A class that still has windows stays listed for the next call.
    std::erase_if(registered.names, [](const std::wstring& name) {
        return ::UnregisterClassW(name.c_str(), ModuleState::Instance()) ||
               ::GetLastError() != ERROR_CLASS_HAS_WINDOWS;
    });
}

void CWindowBase::UnregisterWindowClass(const wchar_t* name) noexcept {
    ::UnregisterClassW(name, ModuleState::Instance());
    RegisteredClasses& registered = Registered();
    const std::lock_guard<std::mutex> hold(registered.lock);
    registered.names.erase(std::remove(registered.names.begin(), registered.names.end(), name), registered.names.end());
}

// The object rides in the window's user data: every message looks it up, and
// reading a window's own long is answered inside the process, where a window
// property is a request to the window server each time.
CWindowBase* CWindowBase::FromHandle(HWND hwnd) noexcept {
    return hwnd ? reinterpret_cast<CWindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

bool CWindowBase::SubclassWindow(HWND hwnd) noexcept {
    if (IsWindow() || !::IsWindow(hwnd) || FromHandle(hwnd)) return false;
    Attach(hwnd);
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
            self->Attach(hwnd);
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
    if (!RunMessageMap(hwnd, message, wParam, lParam, result)) result = CallSuper(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) FinishWindow(hwnd);  // may delete this
    return result;
}

void CWindowBase::Attach(HWND hwnd) noexcept {
    m_hWnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

BOOL CWindowBase::RunMessageMap(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept {
    try {
        return ProcessWindowMessage(hwnd, message, wParam, lParam, result);
    } catch (...) {
        return FALSE;
    }
}

// The window is gone after this message, and its user data with it.
void CWindowBase::FinishWindow(HWND hwnd) noexcept {
    if (m_hWnd == hwnd) m_hWnd = nullptr;
    OnFinalMessage(hwnd);
}

void CWindowBase::Detach() noexcept {
    if (!m_hWnd) return;
    if (FromHandle(m_hWnd) == this) ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
}
