#pragma once
// Tells the user that the instant-messaging service refused the stored
// password, so the desk phone cannot reach this computer. Modal; it ends
// with its OK button.
#include <windows.h>
#include <commctrl.h>

#include "UniqueHandle.h"
#include "WhiteBGDlg.h"
#include "WindowIcons.h"
#include "ResourceIds.h"

class CCommonErrorDlg : public CWhiteBGDlg {
public:
    enum { IDD = IDD_PASSWORD_REFUSED };
    static constexpr int kMessageControl = IDC_REFUSED_MESSAGE;
    static constexpr UINT kMessageString = IDS_PHONE_PASSWORD_REFUSED;
    static constexpr UINT kIcon = IDI_FRAME;
    // The OK button's pictures: normal, pushed, hot, focused, disabled.
    static constexpr UINT kButtonBitmaps[5] = {IDB_BUTTON_NORMAL, IDB_BUTTON_PUSHED, IDB_BUTTON_HOT, IDB_BUTTON_HOT, IDB_BUTTON_DISABLED};
    static constexpr COLORREF kTransparent = RGB(255, 0, 255);
    static constexpr int kButtonFont = 2;
    static constexpr COLORREF kDisabledText = 0x999999;
    static constexpr COLORREF kText = 0x333333;
    enum ButtonImage : int { kNormal = 0, kPushed = 1, kHot = 2, kFocused = 3, kDisabled = 4 };

    CCommonErrorDlg() noexcept : CWhiteBGDlg(IDD) {}

    // The picture the OK button shows for the owner-draw state bits.
    [[nodiscard]] static int ButtonImageFor(UINT drawState) noexcept;

    BEGIN_MSG_MAP(CCommonErrorDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        COMMAND_ID_HANDLER(IDOK, OnClose)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
        CHAIN_MSG_MAP(CWhiteBGDlg)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM draw, BOOL& handled);
    LRESULT OnClose(WORD, WORD, HWND, BOOL&);
    void SetUpButton();

    UniqueHandle<handle_traits::Simple<HIMAGELIST, nullptr, ::ImageList_Destroy>> m_images;
    UniqueHbitmap m_bitmaps[5];
    CWindowIcons m_icons;
};
