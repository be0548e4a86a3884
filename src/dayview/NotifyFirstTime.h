#pragma once
// A one-time tip beside a window: the day view's up strip shows it the first
// time earlier meetings lie above. It closes when clicked or when the main
// frame goes away (event 17).
#include <windows.h>

#include "VelEvents.h"
#include "StringEx.h"
#include "WindowBase.h"

class CNotifyFirstTime : public CWindowBase, public CVelEventListener {
public:
    static constexpr const wchar_t* kClassName = L"VelDsk_NotifyFirstTime";
    static constexpr DWORD kStyle = WS_POPUP | WS_BORDER;
    static constexpr DWORD kExStyle = 0x180;  // tool window, raised edge
    static constexpr int kTextWidth = 208;
    static constexpr int kPadding = 8;
    static constexpr COLORREF kText = RGB(51, 51, 51);
    static constexpr COLORREF kBackground = RGB(255, 255, 225);

    CNotifyFirstTime() = default;
    ~CNotifyFirstTime() override;

    // 0: beside the anchor (left or right), otherwise above or below it.
    void SetMode(int mode) noexcept { m_nMode = mode; }
    void SetTitleText(const CStringEx& text) { m_strTitle = text; }
    void SetBodyText(const CStringEx& text) { m_strBody = text; }
    // Shows the tip owned by `owner`, pointing at `anchor` (screen coordinates).
    BOOL Show(HWND owner, const RECT& anchor);
    // 1: right of the anchor, 2: left of it, 3: below, 4: above; 0 before Show.
    [[nodiscard]] int GetTailCode() const noexcept { return m_nTailCode; }
    static void UnregisterWindowClass() noexcept;

    // CVelEventListener: a closing main frame takes the tip with it.
    HRESULT HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;

    BEGIN_MSG_MAP(CNotifyFirstTime)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    END_MSG_MAP()

private:
    [[nodiscard]] SIZE MeasureContent() const;

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    int m_nMode = 0;
    CStringEx m_strTitle;
    CStringEx m_strBody;
    RECT m_rcAnchor{};
    int m_nTailCode = 0;
    bool m_bSubscribed = false;
};
