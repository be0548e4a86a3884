#pragma once
// A one-time tip beside a window: a small speech bubble whose tail points at
// its anchor, with a close button and a drop shadow. The day view's up strip
// shows one the first time earlier meetings lie above. It goes when closed,
// when the main frame goes away (event 17), or when the mouse has left it and
// a five-second tick finds the cursor still outside.
#include <windows.h>

#include <array>

#include "BubblePaint.h"
#include "PngButton.h"
#include "StringEx.h"
#include "TesselShadow.h"
#include "VelEvents.h"
#include "WindowBase.h"
#include "ResourceIds.h"

class CNotifyFirstTime : public CWindowBase, public CVelEventListener, public CTesselShadow {
public:
    static constexpr const wchar_t* kClassName = L"VelDsk_NotifyFirstTime";
    static constexpr DWORD kStyle = 0x80000003;  // popup; always tip, no prefix
    static constexpr DWORD kExStyle = 0x180;     // tool window, raised edge
    enum ControlId : int { kIdTitle = 246, kIdBody = 247, kIdClose = 248 };
    // Close button: normal, pushed, hot (also disabled).
    static constexpr UINT kCloseImages[3] = {IDIMG_TIP_CLOSE_NORMAL, IDIMG_TIP_CLOSE_PUSHED, IDIMG_TIP_CLOSE_HOT};
    static constexpr UINT_PTR kLeaveTimer = 5000;
    static constexpr UINT kLeavePeriodMs = 5000;

    CNotifyFirstTime();
    ~CNotifyFirstTime() override;

    // 0: beside the anchor (left or right), otherwise above or below it.
    void SetMode(int mode) noexcept { m_nMode = mode; }
    void SetTitleText(const CStringEx& text) { m_strTitle = text; }
    void SetBodyText(const CStringEx& text) { m_strBody = text; }
    // Shows the tip owned by `owner`, pointing at `anchor` (screen coordinates).
    BOOL Show(HWND owner, const RECT& anchor);
    // NotifyLayout::TailCode: 1 right of the anchor, 2 left of it, 3 below,
    // 4 above; 0 before Show.
    [[nodiscard]] int GetTailCode() const noexcept { return m_nTailCode; }
    [[nodiscard]] const std::array<POINT, 3>& GetTailPoints() const noexcept { return m_tailPoints; }
    [[nodiscard]] HWND GetCloseButton() const noexcept { return m_closeButton.m_hWnd; }

    // CVelEventListener: a closing main frame takes the tip with it; 11 is the
    // host's and means nothing here.
    HRESULT HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;

    BEGIN_MSG_MAP(CNotifyFirstTime)
        CHAIN_MSG_MAP(CTesselShadow)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        COMMAND_ID_HANDLER(kIdClose, OnClose)
    END_MSG_MAP()

private:
    // The body's size for the texts (margins included).
    [[nodiscard]] SIZE MeasureBody();
    void CreateControls(const RECT& body);
    void ApplyShape(const RECT& body);

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDrawItem(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnMouseLeave(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnTimer(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnClose(WORD notifyCode, WORD id, HWND control, BOOL& handled);

    int m_nMode = 0;
    CStringEx m_strTitle;
    CStringEx m_strBody;
    RECT m_rcAnchor{};
    CPngButton m_closeButton;
    HWND m_hTitle = nullptr;
    HWND m_hBody = nullptr;
    BOOL m_bTracking = FALSE;
    BOOL m_bLeaveTimer = FALSE;
    int m_nTailCode = 0;
    std::array<POINT, 3> m_tailPoints{};
    // The round body with its tail, as painted and as the window's region.
    CBubblePaint m_look;
    // Text heights found by MeasureBody.
    int m_nTitleHeight = 0;
    int m_nBodyHeight = 0;
};
