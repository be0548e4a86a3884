#pragma once
// One meeting of the day view: start time, topic with its small icons and,
// depending on the meeting's state and the user's role, a button that starts,
// joins or restarts it. Tall items (meetings on now or within the hour) add a
// host-and-duration line and a status label. The item container creates each
// item once and refills it with every layout.
#include <windows.h>

#include <memory>
#include <vector>

#include "VelModuleHost.h"
#include "FrameServices.h"
#include "StringEx.h"
#include "VelStaticEx.h"
#include "MeetingRecord.h"
#include "DialogBase.h"
#include "FlatMenu.h"
#include "PngButton.h"
#include "ResourceIds.h"

class CItemWnd : public CDialogBase, public CMessageFilter {
public:
    enum : UINT { kNormalTemplate = IDD_ITEM_NORMAL, kTallTemplate = IDD_ITEM_TALL };
    enum ControlId : int {
        kIdStartTime = IDC_ITEM_START_TIME,
        kIdTopic = IDC_ITEM_TOPIC,
        kIdMeetingButton = IDC_ITEM_BUTTON,
        kIdHostLine = IDC_ITEM_HOST_LINE,
        kIdStatusLabel = IDC_ITEM_STATUS,
        kIdLabel1057 = IDC_ITEM_SPARE_1,
        kIdLabel1058 = IDC_ITEM_SPARE_2,
        kIdLabel1059 = IDC_ITEM_SPARE_3,
        kIdRecording = IDC_ITEM_RECORDING,
    };
    enum Command : WORD {
        kCmdEditItem = ID_ITEM_EDIT,
        kCmdOpenInfo = ID_ITEM_OPEN_INFO,
        kCmdAddZorvan = ID_ITEM_ADD_TO_CALENDAR,
        kCmdViewDetail = ID_ITEM_VIEW_DETAILS,
    };
    enum : UINT {
        kRestartString = IDS_ITEM_RESTART,
        kStartString = IDS_ITEM_START,
        kJoinString = IDS_ITEM_JOIN,
        kInProgressString = IDS_ITEM_IN_PROGRESS,
        kNotStartedString = IDS_ITEM_NOT_STARTED,
        kRecordingTipString = IDS_ITEM_RECORDING_TIP,
    };
    enum : UINT {
        kPrimaryImages = IDIMG_MEETING_PRIMARY_NORMAL,  // then pushed, hot, disabled
        kRecordingImage = IDIMG_RECORDING_INDICATOR,
        kRecurringImage = IDIMG_RECURRING_MARK,
        kExceptionImage = IDIMG_EXCEPTION_MARK,
        kServiceRxImage = IDIMG_SERVICE_RX_MARK,
        kServiceRyImage = IDIMG_SERVICE_RY_MARK,
        kInProgressImage = IDIMG_IN_PROGRESS_MARK,
    };
    static constexpr UINT kMenu = IDR_ITEM_MENU;
    // Sent to the day view (the item's grandparent) with the row to highlight.
    static constexpr UINT kHighlightRowMessage = WM_APP + 100;
    static constexpr UINT_PTR kHoverTimer = 9;
    static constexpr UINT kHoverPeriodMs = 250;
    static constexpr int kHoverBubbleMs = 1000;
    // A host sees the secondary look on a join button this long before the start.
    static constexpr LONG kHostJoinLookSeconds = 900;
    static constexpr COLORREF kHighlightTop = RGB(80, 191, 210);
    static constexpr COLORREF kHighlightMiddle = RGB(61, 156, 185);
    static constexpr COLORREF kNormalBackground = RGB(255, 255, 255);
    static constexpr COLORREF kTallBackground = RGB(231, 241, 245);
    static constexpr COLORREF kBottomLine = RGB(220, 220, 220);
    static constexpr UINT kMenuTrackFlags = TPM_NONOTIFY | TPM_RETURNCMD;  // 0x180
    static constexpr COLORREF kMenuHighlight = 0xD99204;

    // `frame` carries out the meeting operations the item asks for (may be null).
    explicit CItemWnd(IFrameServices* frame) noexcept;
    ~CItemWnd() override;

    // Creates the item from `templateId` of the resource library; nothing
    // when `parent` is not a window.
    HWND Create(HWND parent, UINT templateId, BOOL tall);
    // The size an item of template `templateId` comes out at, measured on
    // one made hidden for the purpose: what lays out a view around the rows.
    static SIZE TemplateSize(UINT templateId);
    // Shows `meeting`; E_FAIL without a window.
    HRESULT RefreshItemWnd(const CMeetingRecord& meeting);

    void SetHighlight(BOOL highlighted);
    [[nodiscard]] BOOL IsHighlighted() const noexcept { return m_bHighlighted; }
    void SetRowIndex(int row) noexcept { m_nRowIndex = row; }
    [[nodiscard]] int GetRowIndex() const noexcept { return m_nRowIndex; }
    void StartHoverTimer();
    void StopHoverTimer();
    [[nodiscard]] bool IsHoverTimerRunning() const noexcept { return m_nHoverTimer != 0; }

    void CreatePopupMenu();
    // What a double click does: the meeting's details, or its editor for a
    // meeting the list no longer holds.
    void DefaultAction();
    // Event 5 with the item's screen rectangle, the meeting index and the item.
    void ShowBubble();

    // CMessageFilter: keys for the item's own controls go to the dialog
    // manager, as for any modeless dialog in the host's loop.
    BOOL PreTranslateMessage(MSG* msg) override;

    [[nodiscard]] const CMeetingRecord& GetMeeting() const noexcept { return m_meeting; }
    [[nodiscard]] BOOL IsTall() const noexcept { return m_bTall; }
    [[nodiscard]] BOOL IsPast() const noexcept { return m_bPast; }
    [[nodiscard]] BOOL IsInProgressMarked() const noexcept { return m_bInProgress; }
    [[nodiscard]] BOOL CanJoinBeforeHostNow() const noexcept { return m_bCanJoinBeforeHost; }
    [[nodiscard]] BOOL IsButtonShown() const noexcept { return m_bButtonShown; }
    [[nodiscard]] HWND GetMeetingButton() const noexcept { return m_meetingButton.m_hWnd; }
    [[nodiscard]] RECT GetTopicHomeRect() const noexcept { return m_rcTopicHome; }

    // The item as it paints itself (background, icons, bottom line), into `dc`.
    void PaintItem(HDC dc);

    BEGIN_MSG_MAP(CItemWnd)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
        MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(CFlatMenu::kDrawEntryMessage, OnDrawMenuEntry)
        MESSAGE_HANDLER(CFlatMenu::kDrawSelectedEntryMessage, OnDrawMenuEntry)
        COMMAND_ID_HANDLER(kIdMeetingButton, OnMtgButton)
        COMMAND_ID_HANDLER(kCmdEditItem, OnEditItem)
        COMMAND_ID_HANDLER(kCmdOpenInfo, OnOpenInfo)
        COMMAND_ID_HANDLER(kCmdAddZorvan, OnAddZorvan)
        COMMAND_ID_HANDLER(kCmdViewDetail, OnViewDetail)
    END_MSG_MAP()

private:
    struct ButtonState;

    void RefreshButtonState(bool forced);
    [[nodiscard]] ButtonState EvaluateButton(bool forced, DATE now);
    void ApplyLook(bool primary);
    void LayoutTopic();
    // The small pictures after the topic, in order: recurrence (or exception),
    // then the kind of meeting service. Layout makes room for them, paint draws them.
    [[nodiscard]] std::vector<UINT> TopicIcons() const;
    void SetHostLine();
    void ApplyBackgroundToButtons(COLORREF color);
    [[nodiscard]] COLORREF BackgroundColor() const noexcept;
    [[nodiscard]] bool IsCursorOverItem() const;
    [[nodiscard]] CStringEx ButtonText() const;
    [[nodiscard]] RECT ChildRect(HWND child) const;
    void SelectRow();

    LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCtlColorStatic(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDblClk(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnRButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMeasureItem(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDrawItem(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDrawMenuEntry(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMtgButton(WORD notifyCode, WORD id, HWND control, BOOL& handled);
    LRESULT OnEditItem(WORD notifyCode, WORD id, HWND control, BOOL& handled);
    LRESULT OnOpenInfo(WORD notifyCode, WORD id, HWND control, BOOL& handled);
    LRESULT OnAddZorvan(WORD notifyCode, WORD id, HWND control, BOOL& handled);
    LRESULT OnViewDetail(WORD notifyCode, WORD id, HWND control, BOOL& handled);

    IFrameServices* m_frame;
    CPngButton m_meetingButton;
    CPngButton m_recordingButton;
    CVelStaticEx m_startTime;
    CVelStaticEx m_topic;
    CVelStaticEx m_hostLine;
    CVelStaticEx m_label1059;
    CVelStaticEx m_statusLabel;
    CVelStaticEx m_label1057;
    CVelStaticEx m_label1058;
    int m_nRowIndex = -1;
    BOOL m_bHighlighted = FALSE;
    BOOL m_bTall = FALSE;
    BOOL m_bPast = FALSE;
    BOOL m_bInProgress = FALSE;
    BOOL m_bCanJoinBeforeHost = FALSE;
    UINT m_nHoverTimer = 0;
    int m_nHoverTime = 0;
    CMeetingRecord m_meeting;
    RECT m_rcTopicHome{};
    BOOL m_bButtonShown = TRUE;

    // The host line's caption and place as the template gives them; every
    // refill starts from these, not from the last fitted width.
    CStringEx m_strHostCaption;
    RECT m_rcHostHome{};
    int m_nLook = -1;  // 1 primary, 0 secondary, -1 none yet
};
