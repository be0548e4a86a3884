#pragma once
// A dialog painted white behind its static texts, check boxes and buttons,
// as the module's message dialogs are. Derived maps chain this one.
#include <windows.h>

#include "DialogBase.h"

class CWhiteBGDlg : public CDialogBase {
public:
    static constexpr COLORREF kBackground = RGB(255, 255, 255);
    static constexpr COLORREF kEditText = 0x333333;

    explicit CWhiteBGDlg(UINT templateId) noexcept : CDialogBase(templateId) {}

    BEGIN_MSG_MAP(CWhiteBGDlg)
        MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColor)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
        MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColor)
        MESSAGE_HANDLER(WM_CTLCOLOREDIT, OnCtlColorEdit)
    END_MSG_MAP()

private:
    // LRESULT OnCtlColor(UINT, WPARAM dc, LPARAM control, BOOL&): the brush.
    LRESULT OnCtlColor(UINT, WPARAM dc, LPARAM, BOOL&);
    // Edit boxes: white, with the toolkit's dark text.
    LRESULT OnCtlColorEdit(UINT, WPARAM dc, LPARAM, BOOL&);
};
