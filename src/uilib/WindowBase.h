#pragma once
// The one window base of the module. A static thunk stores `this` when the
// window is created, a virtual message map dispatches every message, and the
// handle is cleared on WM_NCDESTROY so a handler may delete its own object.
#include <windows.h>

#include "MessageMap.h"

class CWindowBase {
public:
    CWindowBase() = default;
    CWindowBase(const CWindowBase&) = delete;
    CWindowBase& operator=(const CWindowBase&) = delete;
    virtual ~CWindowBase();

    // Creates a window of a class whose procedure is StartWindowProc (see
    // RegisterClassOnce). Returns null on failure.
    HWND CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId);

    [[nodiscard]] bool IsWindow() const noexcept { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    BOOL DestroyWindow() noexcept { return IsWindow() ? ::DestroyWindow(m_hWnd) : FALSE; }

    // Registers a class whose procedure is this base's thunk against this
    // binary's own instance; later calls with the same name do nothing.
    static bool RegisterClassOnce(WNDCLASSEXW wc);
    // Unregisters every class registered through this base (when the toolkit
    // stops, before the module may be unloaded); a class that still has
    // windows stays registered.
    static void UnregisterClasses() noexcept;
    // Unregisters one class registered through this base.
    static void UnregisterWindowClass(const wchar_t* name) noexcept;

    // The object behind a window created through this base, or null.
    static CWindowBase* FromHandle(HWND hwnd) noexcept;

    // Takes over a window made elsewhere (a control of a dialog template); its
    // own procedure then answers every message the map leaves unhandled.
    bool SubclassWindow(HWND hwnd) noexcept;
    // Registers `newName` as a copy of a system control class (such as "Button")
    // whose messages reach the map first, against this binary's instance. The
    // control's procedure comes back in `baseProc` for m_superWindowProc.
    static bool RegisterSuperclassOnce(const wchar_t* baseClass, const wchar_t* newName, WNDPROC* baseProc);

    HWND m_hWnd = nullptr;

protected:
    // The message map; TRUE when the message was handled and `result` is set.
    virtual BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // Called after WM_NCDESTROY, when m_hWnd is already cleared.
    virtual void OnFinalMessage(HWND hwnd);

    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    // What every procedure of this base shares: the object is linked to its
    // window at creation, the map runs with every exception caught (a handler
    // that throws has failed: the message counts as unhandled), and after
    // WM_NCDESTROY the object is unlinked before OnFinalMessage, which may
    // delete it.
    void Attach(HWND hwnd) noexcept;
    BOOL RunMessageMap(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
    void FinishWindow(HWND hwnd) noexcept;
    // Unlinks the object from a window that lives on.
    void Detach() noexcept;

    // Where unhandled messages go: DefWindowProc when null, else the procedure
    // of the control class this window extends. Set before CreateEx.
    WNDPROC m_superWindowProc = nullptr;

private:
    static LRESULT CALLBACK StartWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT CallSuper(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
};
