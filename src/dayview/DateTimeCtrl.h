#pragma once
// The date strip at the top of the day view: previous-day and next-day
// buttons around a label that names the shown day ("Today", "Tomorrow", or
// the weekday and short date), whose tooltip gives the long date. The buttons
// reach the parent as WM_NOTIFY (id 50 code 3, id 51 code 4).
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "DialogBase.h"
#include "PngButton.h"
#include "StringEx.h"
#include "UniqueHandle.h"
#include "VelStaticEx.h"
#include "ResourceIds.h"

class CDateTimeCtrl : public CDialogBase {
public:
    enum { IDD = IDD_DATE_STRIP };
    enum ControlId : int { kIdPrevious = IDC_DATE_PREVIOUS,
        kIdNext = IDC_DATE_NEXT,
        kIdText = IDC_DATE_TEXT,
        kIdLabel = IDC_DATE_LABEL
     };
    // What the parent receives, as (id, code) of a WM_NOTIFY from the strip.
    static constexpr UINT_PTR kPreviousNotifyId = 50;
    static constexpr UINT kPreviousNotifyCode = 3;
    static constexpr UINT_PTR kNextNotifyId = 51;
    static constexpr UINT kNextNotifyCode = 4;
    static constexpr int kHeight = 24;
    static constexpr COLORREF kBackground = RGB(146, 144, 141);
    static constexpr COLORREF kLabelText = RGB(255, 255, 255);
    static constexpr UINT kPreviousImage = IDIMG_DATE_PREVIOUS;
    static constexpr UINT kNextImage = IDIMG_DATE_NEXT;
    static constexpr UINT kPreviousTipString = IDS_DATE_PREVIOUS_TIP;
    static constexpr UINT kNextTipString = IDS_DATE_NEXT_TIP;
    static constexpr UINT kTodayString = IDS_DATE_TODAY;
    static constexpr UINT kTomorrowString = IDS_DATE_TOMORROW;
    static constexpr UINT kYesterdayString = IDS_DATE_YESTERDAY;

    CDateTimeCtrl() noexcept : CDialogBase(IDD) {}
    ~CDateTimeCtrl() override;

    // Shows `day` (any time of it): TRUE when the label's text changed.
    BOOL SetDate(DATE day);
    [[nodiscard]] DATE GetDate() const noexcept { return m_date; }
    [[nodiscard]] const CStringEx& GetLabelText() const noexcept { return m_labelText; }
    [[nodiscard]] HWND GetToolTip() const noexcept { return m_tip.get(); }
    // What the label says for `day` when it is `now`, in the user's locale.
    [[nodiscard]] static CStringEx LabelFor(DATE day, DATE now);

    // The strip as it paints itself (the background; children draw themselves).
    void PaintStrip(HDC dc);

    BEGIN_MSG_MAP(CDateTimeCtrl)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        COMMAND_ID_HANDLER(kIdPrevious, OnDayButton)
        COMMAND_ID_HANDLER(kIdNext, OnDayButton)
    END_MSG_MAP()

private:
    void AddTool(HWND control);
    void Layout();

    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCtlColorStatic(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnNotify(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDayButton(WORD notifyCode, WORD id, HWND control, BOOL& handled);

    UniqueHwnd m_tip;
    CPngButton m_previous;
    CPngButton m_next;
    CVelStaticEx m_label;
    CStringEx m_labelText;
    DATE m_date = 0.0;
    std::wstring m_tipText;  // what the last tooltip request was answered with
};
