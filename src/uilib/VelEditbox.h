#pragma once
// An edit box of a dialog template in the toolkit's flat look: a one-pixel
// border, grey at rest and in the toolkit's highlight while the box has the
// focus, and room between the border and the text. The template gives the
// control WS_BORDER; the box paints that border itself.
#include <windows.h>

#include "MessageMap.h"
#include "WindowBase.h"

class CVelEditbox : public CWindowBase {
public:
    static constexpr COLORREF kBorder = 0xC8C8C8;
    static constexpr COLORREF kFocusBorder = 0xD99204;
    static constexpr int kTextMargin = 4;

    // FALSE when the dialog has no such control or it is taken already.
    BOOL Attach(HWND dialog, int id);

    BEGIN_MSG_MAP(CVelEditbox)
        MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
        MESSAGE_HANDLER(WM_PRINT, OnPrint)
        MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChange)
        MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChange)
    END_MSG_MAP()

private:
    LRESULT OnNcPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnPrint(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnFocusChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
    // The border on `dc`, whose origin is the window's top left corner.
    void DrawBorder(HDC dc) const;
};
