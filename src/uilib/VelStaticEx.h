#pragma once
// A static text control of a dialog template, kept with its font: its text is
// measured single-line in that font, and the control can be made as wide as
// its text, up to a fitting width.
#include <windows.h>

#include "StringEx.h"

class CVelStaticEx {
public:
    // FALSE (and nothing kept) when the dialog has no such control.
    BOOL Attach(HWND dialog, int id, HFONT font);
    [[nodiscard]] HWND GetHwnd() const noexcept { return m_hWnd; }
    [[nodiscard]] bool Exists() const noexcept { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
    [[nodiscard]] HFONT GetFont() const noexcept { return m_hFont; }

    void SetText(const wchar_t* text);
    [[nodiscard]] CStringEx GetText() const;
    // Width of `text` on one line in the control's font; "&" marks a mnemonic
    // unless the control was made without prefixes.
    [[nodiscard]] int MeasureText(const wchar_t* text) const;

    // The widest the control may become on FitText; 0 for no limit.
    void SetFitWidth(int width) noexcept { m_nFitWidth = width; }
    [[nodiscard]] int GetFitWidth() const noexcept { return m_nFitWidth; }
    // Makes the control as wide as its text (at most the fitting width).
    void FitText();

    // Rectangle in the parent's client coordinates.
    [[nodiscard]] RECT GetRectInParent() const;
    void Move(const RECT& rect);
    void Show(bool show);
    [[nodiscard]] bool IsVisible() const noexcept { return Exists() && ::IsWindowVisible(m_hWnd); }

private:
    HWND m_hWnd = nullptr;
    HFONT m_hFont = nullptr;
    int m_nFitWidth = 0;
};
