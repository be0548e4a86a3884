#pragma once
// Plain colour fills and one-pixel frames through the DC's own brush: no
// brush is made per paint, so there is nothing to release.
#include <windows.h>

inline void FillSolid(HDC dc, const RECT& rect, COLORREF color) noexcept {
    const COLORREF previous = ::SetDCBrushColor(dc, color);
    ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetDCBrushColor(dc, previous);
}

inline void FrameSolid(HDC dc, const RECT& rect, COLORREF color) noexcept {
    const COLORREF previous = ::SetDCBrushColor(dc, color);
    ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::SetDCBrushColor(dc, previous);
}
