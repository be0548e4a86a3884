#pragma once
// The toolkit's hyperlink: a static text of a dialog template taken over and
// drawn as a link, underlined in the link colour on its parent's background.
// Only the text itself answers the mouse (a hand cursor over it, clicks on
// it); the rest of the control is inert.
//
// Activation follows the hyperlink styles: a notify button sends its parent
// WM_NOTIFY NM_CLICK, else a command button sends WM_COMMAND BN_CLICKED.
// A click on the text goes to the notification target instead, when one is
// set: the target gets the notification message with (control id, control
// window). With the focus, Enter and Space activate the link as its styles say.
#include <windows.h>

#include "UniqueHandle.h"
#include "WindowBase.h"

class CPrefHyperLink : public CWindowBase {
public:
    // Hyperlink styles.
    enum : DWORD {
        kCommandButton = 0x08,
        kNotifyButton = 0x10,
    };
    static constexpr COLORREF kLinkColor = RGB(0, 127, 197);

    CPrefHyperLink() = default;
    ~CPrefHyperLink() override;

    // Takes over a static control (normally of a dialog template).
    BOOL SubclassWindow(HWND control);

    void SetHyperLinkExtendedStyle(DWORD style) noexcept { m_dwExtendedStyle = style; }
    [[nodiscard]] DWORD GetHyperLinkExtendedStyle() const noexcept { return m_dwExtendedStyle; }
    void SetLinkColors(COLORREF normal, COLORREF visited) noexcept;
    // The text font; the link draws an underlined copy of it. The font stays
    // the caller's.
    void SetLinkFont(HFONT font);
    // Who hears of a click on the text, and by which message.
    void SetNotifyTarget(HWND target, UINT message) noexcept;
    // With this off, a click activates the link as Enter does.
    void SetNotifyOnClick(BOOL notify) noexcept { m_bNotifyOnClick = notify; }

    // The text's rectangle in client coordinates: the part that is the link.
    [[nodiscard]] RECT GetLinkRect() const;
    [[nodiscard]] BOOL IsVisited() const noexcept { return m_bVisited; }

    BEGIN_MSG_MAP(CPrefHyperLink)
        MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        MESSAGE_HANDLER(WM_SETFOCUS, OnLookChanged)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnLookChanged)
        MESSAGE_HANDLER(WM_ENABLE, OnLookChanged)
        MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
    END_MSG_MAP()

private:
    // What Enter, Space and an untargeted click do.
    void Navigate();
    [[nodiscard]] bool InLink(LPARAM clientPoint) const;
    // The link draws no background of its own: what lies behind it is the
    // parent's to paint again.
    void RedrawWithParent();

    LRESULT OnNcHitTest(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnGetDlgCode(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLookChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetText(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    DWORD m_dwExtendedStyle = 0;
    COLORREF m_clrLink = kLinkColor;
    COLORREF m_clrVisited = kLinkColor;
    HFONT m_hFont = nullptr;
    UniqueHfont m_linkFont;
    BOOL m_bVisited = FALSE;
    // The notification target.
    HWND m_hTarget = nullptr;
    UINT m_nNotifyMessage = 0;
    BOOL m_bNotifyOnClick = TRUE;
};
