#pragma once
// 32-bit pixels for tests that draw: a canvas to render into and read back,
// and the pixels of any bitmap, top row first, as 0xAARRGGBB.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "UniqueHandle.h"

namespace testsupport {
// A top-down 32-bit DIB section selected into its own memory DC.
class Canvas {
public:
    // Every pixel 0: black and fully transparent.
    Canvas(int width, int height);
    // Every pixel the opaque `fill`.
    Canvas(int width, int height, COLORREF fill);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    [[nodiscard]] HDC dc() const noexcept { return m_dc.get(); }
    [[nodiscard]] int width() const noexcept { return m_width; }
    [[nodiscard]] int height() const noexcept { return m_height; }
    // CLR_INVALID outside the canvas.
    [[nodiscard]] COLORREF At(int x, int y) const;
    [[nodiscard]] std::vector<std::uint32_t> Pixels() const;
    // Top-down rows of 0x00RRGGBB pixels, as the canvas holds them.
    [[nodiscard]] const std::uint32_t* bits() const noexcept { return m_bits; }
    // Pixels of a rectangle that differ from (or equal) `color`.
    [[nodiscard]] int CountOtherThan(const RECT& rect, COLORREF color) const;
    [[nodiscard]] int Count(const RECT& rect, COLORREF color) const;

private:
    int m_width;
    int m_height;
    UniqueMemDC m_dc;
    UniqueHbitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
    std::uint32_t* m_bits = nullptr;
};

// The pixels of any bitmap and its size; empty when it cannot be read.
std::vector<std::uint32_t> ReadPixels(HBITMAP bitmap, int* width, int* height);
// True when each channel differs by at most `tolerance`.
bool Near(COLORREF a, COLORREF b, int tolerance = 3);
}  // namespace testsupport
