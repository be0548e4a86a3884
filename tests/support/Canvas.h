#pragma once
// A top-down 32-bit DIB section with its own memory DC, for reading back
// what a window paints.
#include <windows.h>

#include <cstdint>

#include "UniqueHandle.h"

namespace testsupport {
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    [[nodiscard]] HDC dc() const noexcept { return m_dc.get(); }
    [[nodiscard]] int width() const noexcept { return m_width; }
    [[nodiscard]] int height() const noexcept { return m_height; }
    // Top-down rows of 0x00RRGGBB pixels.
    [[nodiscard]] const std::uint32_t* bits() const noexcept { return m_bits; }
    [[nodiscard]] COLORREF At(int x, int y) const;

private:
    int m_width;
    int m_height;
    UniqueMemDC m_dc;
    UniqueHbitmap m_bitmap;
    HGDIOBJ m_old = nullptr;
    std::uint32_t* m_bits = nullptr;
};

// Colours equal within `tolerance` per channel.
bool Near(COLORREF a, COLORREF b, int tolerance = 3);
}  // namespace testsupport
