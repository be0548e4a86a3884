#pragma once
// What an empty day shows in place of the scroll strips and the item area,
// until the user has once seen a day with meetings: a grey hint and a link
// that asks the main frame to schedule a meeting (command 40002). Enter in
// the day view does the same while this view shows.
#include <windows.h>

#include "VelModuleHost.h"
#include "DialogBase.h"
#include "FrameServices.h"
#include "VelStaticEx.h"

class CEmptyMtgView : public CDialogBase, public CMessageFilter {
public:
    enum { IDD = 276 };
    enum ControlId : int { kIdHint = 1071, kIdLink = 1072 };
    static constexpr UINT kLinkClickedMessage = WM_USER + 110;  // 1134
    static constexpr WORD kScheduleCommand = 40002;
    static constexpr COLORREF kHintText = RGB(153, 153, 153);
    static constexpr COLORREF kLinkText = RGB(0, 127, 197);

    // `frame` receives the schedule command (may be null: then nothing happens).
    explicit CEmptyMtgView(IFrameServices* frame) noexcept : CDialogBase(IDD), m_frame(frame) {}
    ~CEmptyMtgView() override;

    // Posts the schedule command to the main frame when it has a window.
    void ScheduleMeeting() const;

    // CMessageFilter: Enter in the parent while this view shows schedules a
    // meeting and goes on to the parent; keys of this view go to the dialog manager.
    BOOL PreTranslateMessage(MSG* msg) override;

    BEGIN_MSG_MAP(CEmptyMtgView)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        MESSAGE_HANDLER(kLinkClickedMessage, OnLinkClicked)
        COMMAND_ID_HANDLER(kIdLink, OnLinkCommand)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCtlColorStatic(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSetCursor(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLinkClicked(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLinkCommand(WORD notifyCode, WORD id, HWND control, BOOL& handled);

    IFrameServices* m_frame;
    CVelStaticEx m_hint;
    CVelStaticEx m_link;
};
