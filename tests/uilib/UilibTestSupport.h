#pragma once
// What the toolkit tests share: the resource library and GDI+ for the whole
// run, a 32-bit canvas whose pixels can be read back, and solid test pictures.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>

#include "UniqueHandle.h"

namespace uilibtest {
// A top-down 32-bit DIB section selected into its own memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    ~Canvas();

    [[nodiscard]] HDC dc() const noexcept { return m_dc.get(); }
    [[nodiscard]] int width() const noexcept { return m_width; }
    [[nodiscard]] COLORREF At(int x, int y) const;
    // Pixels of a rectangle that differ from `color`.
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

// True when each channel differs by at most `tolerance`.
bool Near(COLORREF a, COLORREF b, int tolerance);

// An opaque picture of one colour.
std::unique_ptr<Gdiplus::Image> SolidImage(int width, int height, COLORREF color);
}  // namespace uilibtest
