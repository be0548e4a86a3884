#pragma once
// The day view: one day of meetings as a column of item windows under a date
// strip, with an up and a down scroll strip around an item area six normal
// rows high. It owns none of the meeting data: it reads the day and the
// visible window of meetings through IDailyMeetingSink and moves that window
// one meeting at a time with a five-step animation. It is also a message
// filter for the host's loop: the keyboard moves the highlight, scrolls,
// changes the day and acts on the highlighted meeting.
#include <windows.h>

#include <memory>

#include "VelModuleHost.h"
#include "DailyMeetingSink.h"
#include "DailyViewLayout.h"
#include "DateTimeCtrl.h"
#include "EmptyMtgView.h"
#include "FrameServices.h"
#include "ItemWndController.h"
#include "NotifyFirstTime.h"
#include "VelScrollBar.h"
#include "WindowBase.h"
#include "ResourceIds.h"

class CDailyView : public CWindowBase, public CMessageFilter {
public:
    static constexpr const wchar_t* kClassName = L"VelDsk_DailyView";
    static constexpr DWORD kDefaultStyle = 0x52010000;  // child, visible, clip children, tab stop
    enum ScrollType : int { ScrollType_up = 1, ScrollType_down = 2 };
    static constexpr UINT kUpStripId = 48;
    static constexpr UINT kDownStripId = 49;
    static constexpr UINT_PTR kUpTimer = 9;
    static constexpr UINT_PTR kDownTimer = 10;
    static constexpr UINT kAnimationPeriodMs = 50;
    // Sent by an item when it is clicked; wParam is its row.
    static constexpr UINT kHighlightRowMessage = WM_APP + 100;
    // The list view's controls that Tab and Shift+Tab go to.
    static constexpr int kTabTarget = ID_MEETING_START;
    static constexpr int kShiftTabTarget = ID_MEETING_REFRESH;
    static constexpr UINT kUpImage = IDIMG_SCROLL_UP;
    static constexpr UINT kUpDisabledImage = IDIMG_SCROLL_UP_DISABLED;
    static constexpr UINT kDownImage = IDIMG_SCROLL_DOWN;
    static constexpr UINT kDownDisabledImage = IDIMG_SCROLL_DOWN_DISABLED;
    static constexpr UINT kUpTipString = IDS_SCROLL_UP_TIP;
    static constexpr UINT kDownTipString = IDS_SCROLL_DOWN_TIP;
    static constexpr UINT kPastMeetingTipString = IDS_PAST_MEETING_TIP;
    static constexpr const wchar_t* kShowOnceSchedule = L"ShowOnceSchedule";
    static constexpr const wchar_t* kShowOncePastMeeting = L"ShowOncePastMeeting";

    // `sink` is the day's data (not owned, may be null); `frame` is handed to
    // the item windows and the empty view.
    CDailyView(IDailyMeetingSink* sink, IFrameServices* frame);
    ~CDailyView() override;

    // A child of `parent` (the meeting list view) at `rect`; null on failure.
    HWND Create(HWND parent, const RECT& rect, DWORD style = kDefaultStyle, UINT id = 0);

    // Re-reads the day and lays it out again; a running scroll finishes at once.
    void RefreshDailyView();
    // Enables each scroll strip when there is something to scroll to.
    void RefreshScrollBar();
    // One meeting earlier or later, animated; nothing while busy.
    void ScrollUp();
    void ScrollDown();
    void PreviousDay();
    void NextDay();
    // Completes a running scroll in `direction` (ScrollType) at once.
    void StopScrollAnimation(int direction);
    // Highlights the row that shows meeting `meetingIndex` of the day (an
    // index of the sink, as the list view's ShowMeeting returns it); -1
    // clears the highlight. FALSE when that meeting is not laid out.
    BOOL SetHighlight(int meetingIndex);
    // The highlighted row (0 at the top) or -1.
    [[nodiscard]] int GetHighlightRow() const noexcept { return m_container.GetHighlightIndex(); }
    // During a scroll animation and during a refresh; navigation waits.
    [[nodiscard]] BOOL IsBusy() const noexcept { return m_bBusy; }
    // The next animation step (0 to 4); 0 when none is pending.
    [[nodiscard]] int GetAnimationStep() const noexcept { return m_nStep; }
    [[nodiscard]] const DailyViewLayout& GetLayout() const noexcept { return m_layout; }
    [[nodiscard]] const CItemWndController& GetItems() const noexcept { return m_container; }
    [[nodiscard]] const CDateTimeCtrl& GetDateStrip() const noexcept { return m_dateStrip; }
    [[nodiscard]] CDateTimeCtrl& GetDateStrip() noexcept { return m_dateStrip; }
    [[nodiscard]] HWND GetEmptyView() const noexcept { return m_emptyView ? m_emptyView->m_hWnd : nullptr; }
    [[nodiscard]] const CNotifyFirstTime* GetPastMeetingTip() const noexcept { return m_pastMeetingTip.get(); }

    // CMessageFilter: keys addressed to the day view (and to its empty view
    // and items) before they are dispatched.
    BOOL PreTranslateMessage(MSG* msg) override;

    BEGIN_MSG_MAP(CDailyView)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
        MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
        MESSAGE_HANDLER(WM_SYSKEYDOWN, OnSysKeyDown)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        MESSAGE_HANDLER(kHighlightRowMessage, OnHighlightRow)
    END_MSG_MAP()

private:
    void StartScrollAnimation(int direction);
    void FinishScrollStep(int direction);
    void HighlightUp();
    void HighlightDown();
    void ChangeDay(double days);
    void ShowPastMeetingTip();
    void PaintBelowItems(HDC dc);

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnNotify(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseWheel(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnGetDlgCode(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSysKeyDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnHighlightRow(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    CDateTimeCtrl m_dateStrip;
    CVelScrollBar m_upStrip{CVelScrollBar::kUp};
    CVelScrollBar m_downStrip{CVelScrollBar::kDown};
    CItemWndController m_container;
    IDailyMeetingSink* m_pDailyMeetingSink;
    std::unique_ptr<CEmptyMtgView> m_emptyView;
    std::unique_ptr<CNotifyFirstTime> m_pastMeetingTip;
    UINT_PTR m_nScrollTimer = 0;
    int m_nStep = 0;
    BOOL m_bBusy = FALSE;
    int m_nLastDirection = ScrollType_up;
    // Where the parts went at creation; g is its strip height.
    DailyViewLayout m_layout;
};
