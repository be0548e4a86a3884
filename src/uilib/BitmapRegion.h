#pragma once
// Window shapes from pictures: the region covered by every pixel of a bitmap
// whose colour is not the key colour.
#include <windows.h>

// Null when the bitmap cannot be read. The caller owns the region.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key) noexcept;
