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

// The off-screen canvas of a double-buffered paint: a top-down 32-bit DIB
// section. Painted and copied like a bitmap compatible with the window's DC,
// but making and selecting it asks nothing of the display driver, where the
// compatible bitmap costs two requests to the window server on every paint.
[[nodiscard]] inline HBITMAP CreateBackBuffer(int width, int height) noexcept {
    if (width <= 0 || height <= 0) return nullptr;
    const BITMAPINFO info = TopDown32BitFormat(width, height);
    void* bits = nullptr;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}
