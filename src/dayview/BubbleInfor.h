#pragma once
// The meeting detail bubble: a speech-bubble popup beside a meeting item that
// lists the meeting's particulars (topic with its marks, time, recurrence,
// host, invitees, agenda, files) and one button that opens the meeting for
// editing or shows its details. Only one bubble is open at a time; it closes
// as soon as the user works elsewhere: on deactivation, when the mouse has
// left both it and its item, on the close events, and after its button.
#include <windows.h>

#include <array>
#include <vector>

#include "BubblePaint.h"
#include "BubblePara.h"
#include "FrameServices.h"
#include "PngButton.h"
#include "TesselShadow.h"
#include "UniqueHandle.h"
#include "VelEvents.h"
#include "WindowBase.h"
#include "ResourceIds.h"

class CBubbleInfor : public CWindowBase, public CBubblePaint, public CVelEventListener, public CTesselShadow {
public:
    static const wchar_t kWindowTitle[];
    static const wchar_t kClassName[];
    static constexpr DWORD kStyle = 0x80000003;   // popup; always tip, no prefix
    static constexpr DWORD kExStyle = 0x180;      // tool window, raised edge

    enum ControlId : int {
        kIdTitle = 206,
        kIdTimeLabel = 207,
        kIdTime = 208,
        kIdRecurrenceLabel = 211,
        kIdRecurrence = 212,
        kIdHostLabel = 215,
        kIdHost = 216,
        kIdInviteesLabel = 217,
        kIdInvitees = 218,
        kIdAgendaLabel = 223,
        kIdAgenda = 224,
        kIdFilesLabel = 227,
        kIdFile = 228,  // both the icon and the name of every file
        kIdEditButton = 229,
        kIdViewButton = 233,
    };
    enum : UINT {
        kTimeString = IDS_BUBBLE_TIME,
        kHostString = IDS_BUBBLE_HOST,
        kInviteesString = IDS_BUBBLE_INVITEES,
        kAgendaString = IDS_BUBBLE_AGENDA,
        kFilesString = IDS_BUBBLE_FILES,
        kNoInviteesString = IDS_BUBBLE_NO_INVITEES,
        kRecurrenceString = IDS_BUBBLE_RECURRENCE,
        kEditString = IDS_BUBBLE_EDIT,
        kViewString = IDS_BUBBLE_VIEW,
    };
    enum : UINT {
        kRecurringImage = IDIMG_RECURRING_MARK,
        kExceptionImage = IDIMG_EXCEPTION_MARK,
        kServiceRxImage = IDIMG_SERVICE_RX_MARK,
        kServiceRyImage = IDIMG_SERVICE_RY_MARK,
        kRecordingImage = IDIMG_HAS_RECORDING_MARK,
    };
    static constexpr UINT kButtonImages[4] = {IDIMG_MEETING_SECONDARY_NORMAL, IDIMG_MEETING_SECONDARY_PUSHED,
                                              IDIMG_MEETING_SECONDARY_HOT, IDIMG_MEETING_SECONDARY_DISABLED};
    enum : UINT_PTR { kLeaveTimer = 200, kTipTimer = 2009 };
    static constexpr UINT kLeavePeriodMs = 5000;
    static constexpr UINT kTipPeriodMs = 500;

    // `frame` carries out the button's meeting operation (may be null).
    explicit CBubbleInfor(IFrameServices* frame) noexcept;
    ~CBubbleInfor() override;

    // Opens the bubble for `para` beside `item`, whose screen rectangle is
    // `anchor`, closing any bubble already open. FALSE when no window was made.
    BOOL CreateMyWindow(HWND item, const RECT& anchor, const CBubblePara& para);
    void Close();
    [[nodiscard]] BOOL IsShown() const;

    // Events 6 and 17 close the bubble; 11 is the host's and means nothing here.
    HRESULT HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;

    // What a test or the owner may read back.
    [[nodiscard]] int GetTailSide() const noexcept { return m_nTailSide; }
    [[nodiscard]] BOOL HasTail() const noexcept { return m_bHasTail; }
    [[nodiscard]] const std::array<POINT, 3>& GetTailPoints() const noexcept { return m_tailPoints; }
    [[nodiscard]] const RECT& GetAnchorRect() const noexcept { return m_rcAnchor; }
    [[nodiscard]] int GetLabelWidth() const noexcept { return m_nLabelWidth; }
    [[nodiscard]] HWND GetToolTip() const noexcept { return m_tip.get(); }
    [[nodiscard]] HWND GetToolTipTarget() const noexcept { return m_tipTarget; }
    [[nodiscard]] const CBubblePara& GetPara() const noexcept { return m_para; }

    BEGIN_MSG_MAP(CBubbleInfor)
        CHAIN_MSG_MAP(CTesselShadow)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        MESSAGE_HANDLER(WM_ACTIVATEAPP, OnActivateApp)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        COMMAND_RANGE_HANDLER(kIdEditButton, 235, OnButton)
    END_MSG_MAP()

protected:
    void OnFinalMessage(HWND hwnd) override;

private:
    // One text of the table, with what its tooltip shows when the text is cut.
    struct TextControl {
        HWND hwnd;
        int lines;  // at most shown
        bool cut;
    };

    void GetBubbleRect();
    void ComputeLabelWidth();
    void CreateControls();
    void CreateTitle();
    void CreateItemName(UINT stringId, int id);
    void CreateItemContent(const CStringEx& text, int id);
    void CreateItemContentMultiLine(const CStringEx& text, int id, int lines);
    void CreateFiles();
    void CreateButton();
    void CreateMarks(const RECT& title);
    // A static of the bubble's own drawing; null on failure.
    HWND CreateText(const CStringEx& text, int id, const RECT& rect, HFONT font);
    void FitHeight();
    void ApplyShape();
    void SetupBubbleShadow();
    void CreateToolTip();
    void OnBtnComand(int id);
    // Whether the cursor has gone elsewhere: over neither the bubble nor its
    // item, or over a window in front of either.
    [[nodiscard]] bool CursorLeft() const;
    void FollowCursorWithTip();
    [[nodiscard]] const TextControl* CutTextAt(POINT screen) const;

    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDrawItem(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCtlColorStatic(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseLeave(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnActivate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnActivateApp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnButton(WORD notifyCode, WORD id, HWND control, BOOL& handled);

    IFrameServices* m_frame;
    std::vector<TextControl> m_texts;
    std::vector<UniqueHicon> m_fileIcons;
    HWND m_hItem = nullptr;
    RECT m_rcAnchor{};
    int m_nTailSide = 0;
    RECT m_rcBubble{};
    BOOL m_bHasTail = TRUE;
    // Title marks: recurring, exception, service RX, service RY, has recording.
    std::array<BOOL, 5> m_markFlags{};
    CBubblePara m_para;
    CPngButton m_editButton;
    CPngButton m_viewButton;
    int m_nY = 0;
    std::array<POINT, 3> m_tailPoints{};
    BOOL m_bTracking = FALSE;
    HWND m_tipTarget = nullptr;
    POINT m_ptTip{};
    int m_nLabelWidth = 0;
    UniqueHwnd m_tip;
};
