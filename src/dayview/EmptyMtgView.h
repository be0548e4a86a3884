#pragma once
// What an empty day shows in place of the scroll strips and the item area,
// until the user has once seen a day with meetings: a grey hint and a link
// that asks the main frame to schedule a meeting (ID_MEETING_SCHEDULE). Enter in
// the day view does the same while this view shows.
#include <windows.h>

#include "VelModuleHost.h"
#include "DialogBase.h"
#include "FrameServices.h"
#include "PrefHyperLink.h"
#include "VelStaticEx.h"
#include "ResourceIds.h"

class CEmptyMtgView : public CDialogBase, public CMessageFilter {
public:
    enum { IDD = IDD_EMPTY_VIEW };
    enum ControlId : int { kIdHint = IDC_EMPTY_HINT, kIdLink = IDC_EMPTY_LINK };
    static constexpr UINT kLinkClickedMessage = WM_USER + 110;  // 1134
    static constexpr WORD kScheduleCommand = ID_MEETING_SCHEDULE;
    static constexpr COLORREF kHintText = RGB(153, 153, 153);

    // `frame` receives the schedule command (may be null: then nothing happens).
    explicit CEmptyMtgView(IFrameServices* frame) noexcept : CDialogBase(IDD), m_frame(frame) {}
    ~CEmptyMtgView() override;

    // Posts the schedule command to the main frame when it has a window.
    void ScheduleMeeting() const;
    [[nodiscard]] const CPrefHyperLink& GetLink() const noexcept { return m_link; }

    // CMessageFilter: Enter in the parent while this view shows schedules a
    // meeting and goes on to the parent; keys of this view go to the dialog manager.
    BOOL PreTranslateMessage(MSG* msg) override;

    BEGIN_MSG_MAP(CEmptyMtgView)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        MESSAGE_HANDLER(kLinkClickedMessage, OnLinkClicked)
        MESSAGE_HANDLER(WM_NOTIFY, OnLinkNotify)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSize(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCtlColorStatic(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLinkClicked(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLinkNotify(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    IFrameServices* m_frame;
    CVelStaticEx m_hint;
    CPrefHyperLink m_link;
};
