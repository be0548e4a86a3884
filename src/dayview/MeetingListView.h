#pragma once
// The child dialog that fills the main frame: three image buttons above the
// day view. It owns the data provider and the day view, runs the meetings
// synchronisation with the web-API component (start, poll every 200 ms,
// reload on success), re-checks the shown day every 30 s, and answers the
// host events that ask to show a meeting, a day or the detail bubble.
#include <windows.h>
#include <oleauto.h>

#include <memory>

#include "DialogBase.h"
#include "FrameServices.h"
#include "PngButton.h"
#include "StringEx.h"
#include "VelEvents.h"
#include "VelModuleHost.h"
#include "WindowBase.h"
#include "ResourceIds.h"

class CBubbleInfor;
class CDailyView;
class CMeetingDataProvider;

class CMeetingListView : public CDialogBase, public CVelEventListener, public CMessageFilter {
public:
    enum { IDD = IDD_LIST_VIEW };
    enum : UINT {
        kIdStartMeeting = ID_MEETING_START,
        kIdScheduleMeeting = ID_MEETING_SCHEDULE,
        kIdRefresh = ID_MEETING_REFRESH,
        kIdSettingsCommand = ID_ACCOUNT_SETTINGS,
    };
    enum : UINT_PTR { kTimerBusy = 1003, kTimerCheckDay = 2002, kTimerSyncPoll = 5009 };
    static constexpr UINT kCheckDayMs = 30000;
    static constexpr UINT kSyncPollMs = 200;
    static constexpr UINT kBusyFrameMs = 100;
    static constexpr LONG kSyncRunning = 1;
    static constexpr LONG kSyncSucceeded = 2;
    static constexpr UINT kStartTip = IDS_LIST_START_TIP, kScheduleTip = IDS_LIST_SCHEDULE_TIP,
                           kRefreshTip = IDS_LIST_REFRESH_TIP;
    static constexpr UINT kStartImage = IDIMG_START_MEETING, kScheduleImage = IDIMG_SCHEDULE_MEETING,
                           kRefreshImage = IDIMG_REFRESH;
    static constexpr UINT kFirstBusyFrame = IDIMG_BUSY_00, kBusyFrameCount = IDIMG_BUSY_COUNT;
    // The day view starts this far below the buttons.
    static constexpr int kDayViewGap = 5;
    static constexpr DWORD kDayViewStyle = 0x52010000;

    explicit CMeetingListView(IFrameServices* frame);
    ~CMeetingListView() override;

    // Creates the dialog as a child of `parent` (hidden until shown).
    HWND Create(HWND parent);

    // Signed in (active) or not: an active view keeps its day current.
    void SetActive(BOOL active);
    [[nodiscard]] BOOL IsActive() const noexcept { return m_bActive; }
    // The refresh command: synchronises the shown day; `code` 0 reloads it
    // afresh afterwards (following the current time), others keep the place.
    void OnRefresh(UINT code);
    void StartSyncZorvanMeeting(DATE start, DATE end);
    [[nodiscard]] BOOL IsSynchronising() const noexcept { return m_syncTimer != 0; }
    void ResetDay(const DATE* day);
    void RefreshDay(BOOL fresh);
    HRESULT EditMeeting(BSTR meetingKey);
    HRESULT ViewMeetingDetail(BSTR meetingKey);
    void PopupBubble(const RECT* itemRect, INT32 index, HWND item);
    [[nodiscard]] INT32 BubbleIndex() const noexcept { return m_bubbleIndex; }

    [[nodiscard]] CMeetingDataProvider* Provider() const noexcept { return m_provider.get(); }
    [[nodiscard]] CDailyView* DayView() const noexcept { return m_dayView.get(); }
    [[nodiscard]] CBubbleInfor* Bubble() const noexcept { return m_bubble.get(); }
    [[nodiscard]] CPngButton& RefreshButton() noexcept { return m_refreshButton; }

    // CVelEventListener
    HRESULT HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;
    // CMessageFilter: the day view's keyboard handling.
    BOOL PreTranslateMessage(MSG* msg) override;

    BEGIN_MSG_MAP(CMeetingListView)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_CTLCOLORDLG, OnCtlColorDialog)
        MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        COMMAND_ID_HANDLER(kIdRefresh, OnRefreshCommand)
        COMMAND_ID_HANDLER(kIdStartMeeting, OnFrameCommand)
        COMMAND_ID_HANDLER(kIdScheduleMeeting, OnFrameCommand)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCtlColorDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRefreshCommand(WORD notifyCode, WORD id, HWND control, BOOL& handled);
    LRESULT OnFrameCommand(WORD notifyCode, WORD id, HWND control, BOOL& handled);

    void OnSyncPoll();
    void OnSynchronised();
    void StopBusyAnimation();
    void ShowAndHighlight(INT32 index);
    HRESULT OpenDetailPage(BSTR meetingKey, const char* scope);
    [[nodiscard]] HWND FrameWindow() const noexcept;

    IFrameServices* m_frame;
    BOOL m_bActive = FALSE;
    std::unique_ptr<CMeetingDataProvider> m_provider;
    std::unique_ptr<CDailyView> m_dayView;
    std::unique_ptr<CBubbleInfor> m_bubble;
    INT32 m_bubbleIndex = 0;
    CPngButton m_startButton;
    CPngButton m_scheduleButton;
    CPngButton m_refreshButton;
    BOOL m_bShowPending = FALSE;
    CStringEx m_pendingConfId;
    CStringEx m_pendingEntryId;
    BOOL m_bFreshLoad = FALSE;
    UINT_PTR m_syncTimer = 0;
    UniqueHbrush m_background;
};
