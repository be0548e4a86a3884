#pragma once
// Scoped device-context guards: each frees its DC with the call that matches
// how it was obtained.
#include <windows.h>

class PaintDC {
public:
    explicit PaintDC(HWND hwnd) noexcept : m_hwnd(hwnd) { m_hdc = ::BeginPaint(hwnd, &m_ps); }
    ~PaintDC() { ::EndPaint(m_hwnd, &m_ps); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    [[nodiscard]] HDC get() const noexcept { return m_hdc; }
    [[nodiscard]] const PAINTSTRUCT& paintStruct() const noexcept { return m_ps; }

private:
    HWND m_hwnd;
    HDC m_hdc = nullptr;
    PAINTSTRUCT m_ps{};
};

class WindowDC {
public:
    // The client area, or the whole window with its frame for painting the
    // non-client area.
    enum Area { Client, WholeWindow };
    explicit WindowDC(HWND hwnd, Area area = Client) noexcept
        : m_hwnd(hwnd), m_hdc(area == WholeWindow ? ::GetWindowDC(hwnd) : ::GetDC(hwnd)) {}
    ~WindowDC() {
        if (m_hdc) ::ReleaseDC(m_hwnd, m_hdc);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    [[nodiscard]] HDC get() const noexcept { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// Selects a GDI object into a DC and puts the previous one back on scope exit.
class SelectGuard {
public:
    SelectGuard(HDC hdc, HGDIOBJ object) noexcept : m_hdc(hdc), m_old(::SelectObject(hdc, object)) {}
    ~SelectGuard() {
        if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_hdc, m_old);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};
