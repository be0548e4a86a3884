#pragma once
// The format of a top-down 32-bit DIB (row 0 at the top, 0xAARRGGBB pixels):
// what every picture computed pixel by pixel, and every read-back, uses.
#include <windows.h>

[[nodiscard]] inline BITMAPINFO TopDown32BitFormat(int width, int height) noexcept {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
