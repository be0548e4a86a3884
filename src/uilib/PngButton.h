#pragma once
// The module's push button: one of four state pictures stretched as a
// nine-grid, an optional icon and a centred caption, drawn double-buffered on a
// background colour, with an optional busy animation. Input follows the
// classic owner-drawn button (capture while pressed, hover tracking, Space and
// Enter, optional auto-repeat); clicks reach the parent as WM_COMMAND.
//
// A button is either created here (a "Button" control extended by this class)
// or takes over a button of a dialog template with SubclassWindow.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "UniqueHandle.h"
#include "WindowBase.h"

class CPngButton : public CWindowBase {
public:
    // Extended styles, given at construction.
    enum : DWORD {
        kHover = 0x01,       // hot look under the mouse; the button captures the mouse itself
        kAutoSize = 0x08,    // the window takes the size of the normal picture
        kAutoRepeat = 0x20,  // held down, the button repeats its command at the keyboard rate
    };
    // Button states, the index into the state-to-picture map.
    enum State : int { kNormal = 0, kPushed = 1, kHot = 2, kDisabled = 3 };
    // State bits.
    enum : DWORD { kStateHot = 0x01, kStateFocused = 0x02, kStatePressed = 0x04 };
    // Timers on the button window. The busy-animation timer is the owner's to
    // start (StartBusyAnimation does it); the button repaints on each tick.
    enum : UINT_PTR { kTimerFirstRepeat = 1000, kTimerRepeat = 1001, kTimerBusy = 1003 };

    static const wchar_t kClassName[];

    explicit CPngButton(DWORD extendedStyle = 0, BOOL eraseBackground = FALSE) noexcept;
    ~CPngButton() override;

    HWND Create(HWND parent, const RECT& rect, UINT id, const wchar_t* caption = L"",
                DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    // Takes over a button made from a dialog template.
    BOOL SubclassWindow(HWND button);

    // Attributes. Pictures are taken from the resource library by "IMAGE"
    // number or handed over as GDI+ images; a number that is not in the
    // library leaves the slot empty and returns FALSE. A numbered picture is
    // decoded when it is first drawn or measured.
    void SetLeftMargin(int margin) noexcept { m_nLeftMargin = margin; }
    [[nodiscard]] int GetLeftMargin() const noexcept { return m_nLeftMargin; }
    void SetExtendedStyle(DWORD style) noexcept { m_dwExtendedStyle = style; }
    [[nodiscard]] DWORD GetExtendedStyle() const noexcept { return m_dwExtendedStyle; }
    // Which picture slot (0 to 3) each state shows; -1 keeps an entry.
    void SetImageMap(int normal, int pushed = -1, int hot = -1, int disabled = -1) noexcept;
    [[nodiscard]] int GetImageMap(State state) const noexcept { return m_nImage[state]; }
    BOOL SetImage(int slot, UINT imageId);
    void SetImage(int slot, std::unique_ptr<Gdiplus::Image> image);
    // The four slots in state order; 0 keeps a slot.
    BOOL SetImages(UINT normal, UINT pushed, UINT hot, UINT disabled);
    BOOL SetIcon(UINT imageId);
    void SetIcon(std::unique_ptr<Gdiplus::Image> icon);
    void SetCornerSize(int corner) noexcept { m_nCorner = corner; }
    [[nodiscard]] int GetCornerSize() const noexcept { return m_nCorner; }
    // The fonts stay the caller's (normally the shared font cache's).
    void SetFonts(HFONT normal, HFONT disabled) noexcept;
    void SetTextColors(COLORREF normal, COLORREF disabled) noexcept;
    void SetBackgroundColor(COLORREF color) noexcept { m_clrBackground = color; }
    [[nodiscard]] COLORREF GetBackgroundColor() const noexcept { return m_clrBackground; }
    void SetEraseBackground(BOOL erase) noexcept { m_bEraseBackground = erase; }
    // Empty text: the parent answers the tooltip's text request (TTN_GETDISPINFO,
    // with the button's window handle as the tool id). The tip control itself
    // is made on the first mouse message the button gets; null until then.
    void SetToolTipText(const std::wstring& text);
    BOOL SetToolTipText(UINT stringId);
    [[nodiscard]] HWND GetToolTip() const noexcept { return m_tip.get(); }

    // Busy animation: each repaint shows the next frame while the flag is on.
    BOOL SetBusyFrames(const std::vector<UINT>& imageIds);
    void AddBusyFrame(std::unique_ptr<Gdiplus::Image> frame);
    [[nodiscard]] size_t GetBusyFrameCount() const noexcept { return m_busyFrames.size() + m_busyFrameIds.size(); }
    void SetBusyAnimation(BOOL busy) noexcept { m_bBusy = busy; }
    [[nodiscard]] BOOL IsBusyAnimation() const noexcept { return m_bBusy; }
    // Disables the button and repaints it every `periodMs` with the next frame;
    // FALSE (and nothing changes) without frames.
    BOOL StartBusyAnimation(UINT periodMs = 100);
    void StopBusyAnimation();

    [[nodiscard]] DWORD GetStateBits() const noexcept { return m_dwState; }
    // Sizes the window to the normal picture.
    void SizeToImage();
    void Repaint();

    // The state shown now, as the paint chooses it.
    [[nodiscard]] State CurrentState() const noexcept;

    BEGIN_MSG_MAP(CPngButton)
        MESSAGE_RANGE_HANDLER(WM_MOUSEFIRST, WM_MOUSELAST, OnMouseMessage)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPaint)
        MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
        MESSAGE_HANDLER(WM_ENABLE, OnEnable)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
        MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
        MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_UPDATEUISTATE, OnUpdateUiState)
    END_MSG_MAP()

private:
    static constexpr int kIconSlot = 4;

    void Init();
    // Forgets the slot's picture and remembers `imageId` for it when the library has it.
    bool DeferImage(size_t slot, UINT imageId);
    // The slot's picture, decoded now if it was only named so far.
    Gdiplus::Image* Image(int slot);
    void LoadBusyFrames();
    void ResetToolTip();
    void CreateToolTip();
    void AddTool();
    void PostCommand() const;
    void StartTimer(UINT_PTR id, UINT periodMs);
    void StopTimer(UINT_PTR id);
    static constexpr DWORD TimerBit(UINT_PTR id) noexcept { return 1u << (id - kTimerFirstRepeat); }
    [[nodiscard]] bool HasCapture() const noexcept { return ::GetCapture() == m_hWnd; }
    void DoPaint(HDC target);

    LRESULT OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnFocus(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEnable(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseLeave(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCaptureChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnKeyDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnKeyUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnGetDlgCode(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnUpdateUiState(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    int m_nLeftMargin = 0;
    DWORD m_dwExtendedStyle;
    std::array<int, 4> m_nImage{kNormal, kPushed, kHot, kDisabled};
    UniqueHwnd m_tip;
    DWORD m_dwSpare = 0;
    DWORD m_dwState = 0;
    std::array<std::unique_ptr<Gdiplus::Image>, 5> m_images;
    std::array<UINT, 5> m_imageIds{};  // the resource number behind each slot, 0 for none or handed over
    int m_nCorner = 0;
    HFONT m_hFont = nullptr;
    HFONT m_hDisabledFont = nullptr;
    COLORREF m_clrText = 0;
    COLORREF m_clrDisabledText = 0x333333;
    COLORREF m_clrBackground = 0xFFFFFF;
    BOOL m_bEraseBackground;
    BOOL m_bBusy = FALSE;
    size_t m_nBusyFrame = 0;
    std::vector<std::unique_ptr<Gdiplus::Image>> m_busyFrames;
    std::vector<UINT> m_busyFrameIds;  // named frames not decoded yet, after m_busyFrames
    DWORD m_timers = 0;                // TimerBit of each timer started and not yet killed

    std::wstring m_tipText;
};
