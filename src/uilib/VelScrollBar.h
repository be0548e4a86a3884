#pragma once
// A scroll strip: a white band with one image button centred in it. A click
// of the button reaches the parent as one WM_NOTIFY (no repeat while held)
// whose code is the strip's kind, so the parent scrolls one step per click.
// The strip draws a light line along the edge that faces the scrolled area.
#include <windows.h>

#include "PngButton.h"
#include "WindowBase.h"

class CVelScrollBar : public CWindowBase {
public:
    static constexpr const wchar_t* kClassName = L"VelDsk_ScrollBar";
    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE;  // 0x50000000
    // Also the WM_NOTIFY code of a click.
    enum Kind : UINT { kUp = 1, kDown = 2 };
    static constexpr COLORREF kBackground = RGB(255, 255, 255);
    static constexpr COLORREF kEdgeLine = RGB(220, 220, 220);

    explicit CVelScrollBar(Kind kind) noexcept : m_kind(kind) {}
    ~CVelScrollBar() override;

    // The button's pictures (the normal one also when pushed or hot) and its
    // tooltip text from the resource library; set before Create.
    void SetButtonLook(UINT normalImage, UINT disabledImage, UINT tipString) noexcept;
    // The button takes the strip's control id.
    HWND Create(HWND parent, const RECT& rect, UINT id);

    // Enables or disables the strip and with it the button, and repaints both.
    void Enable(bool enable);
    [[nodiscard]] bool IsEnabled() const noexcept { return IsWindow() && ::IsWindowEnabled(m_hWnd); }
    [[nodiscard]] Kind GetKind() const noexcept { return m_kind; }
    [[nodiscard]] HWND GetButton() const noexcept { return m_button.m_hWnd; }

    // The strip as it paints itself, into `dc`.
    void PaintStrip(HDC dc);

    BEGIN_MSG_MAP(CVelScrollBar)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ENABLE, OnEnable)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

private:
    void CentreButton();

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEnable(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCommand(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    Kind m_kind;
    CPngButton m_button;
    UINT m_normalImage = 0;
    UINT m_disabledImage = 0;
    UINT m_tipString = 0;
};
