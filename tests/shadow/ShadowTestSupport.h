#pragma once
// Owner popups with shadows, a window that draws shadows on request and
// counts how often it is asked, and pictures built pixel by pixel.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "support/Canvas.h"
#include "TesselShadow.h"
#include "WindowBase.h"
#include "ZvnUIShadowWndMap.h"

namespace shadowtest {
constexpr UINT kDrawShadowMessage = WM_APP + 7;

// A premultiplied picture whose pixel (x, y) is `pixel(x, y)` (0xAARRGGBB).
CZvnShadowImage MakeImage(int width, int height, const std::function<std::uint32_t(int, int)>& pixel, int frames = 1);
using testsupport::ReadPixels;
RECT WindowRect(HWND hwnd);
bool SameRect(const RECT& a, const RECT& b);
// The shadow window object behind a shadow window handle.
CZvnUIShadowWnd* ShadowObject(HWND shadow);

class PopupBase : public CWindowBase {
public:
    // A hidden popup at `rect` (screen coordinates).
    bool CreatePopup(const RECT& rect);
};

class ShadowedPopup : public PopupBase, public CZvnUIShadowWndMap {
public:
    ShadowedPopup() : CZvnUIShadowWndMap(static_cast<CWindowBase&>(*this)) {}
    BEGIN_MSG_MAP(ShadowedPopup)
        CHAIN_MSG_MAP(CZvnUIShadowWndMap)
    END_MSG_MAP()
};

class TesselPopup : public PopupBase, public CTesselShadow {
public:
    TesselPopup() : CTesselShadow(static_cast<CWindowBase&>(*this)) {}
    std::vector<UINT_PTR> ownTimers;  // timer ids that reached this window's own handler

    BEGIN_MSG_MAP(TesselPopup)
        CHAIN_MSG_MAP(CTesselShadow)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
    END_MSG_MAP()

private:
    LRESULT OnTimer(UINT, WPARAM id, LPARAM, BOOL&) {
        ownTimers.push_back(id);
        return 0;
    }
};

// Answers kDrawShadowMessage with a fresh bitmap of the asked size and counts the requests.
class ShadowPainter : public CWindowBase {
public:
    bool Create();
    int requests = 0;
    SIZE lastSize{};
    HBITMAP lastImage = nullptr;

    BEGIN_MSG_MAP(ShadowPainter)
        MESSAGE_HANDLER(kDrawShadowMessage, OnDraw)
    END_MSG_MAP()

private:
    LRESULT OnDraw(UINT, WPARAM rect, LPARAM image, BOOL&);
};
}  // namespace shadowtest
