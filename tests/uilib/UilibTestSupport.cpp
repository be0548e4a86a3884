#include "UilibTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace uilibtest {
Canvas::Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_bits = static_cast<std::uint32_t*>(bits);
    m_dc.reset(::CreateCompatibleDC(nullptr));
    if (m_dc && m_bitmap) m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
    if (!m_bits) return;
    const std::uint32_t value = 0xFF000000u | (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = value;
}

Canvas::~Canvas() {
    if (m_old) ::SelectObject(m_dc.get(), m_old);
}

COLORREF Canvas::At(int x, int y) const {
    if (!m_bits || x < 0 || y < 0 || x >= m_width || y >= m_height) return CLR_INVALID;
    ::GdiFlush();
    const std::uint32_t v = m_bits[y * m_width + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

int Canvas::CountOtherThan(const RECT& rect, COLORREF color) const {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (At(x, y) != color) ++count;
    return count;
}

int Canvas::Count(const RECT& rect, COLORREF color) const {
    return (rect.right - rect.left) * (rect.bottom - rect.top) - CountOtherThan(rect, color);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::unique_ptr<Gdiplus::Image> SolidImage(int width, int height, COLORREF color) {
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    const Gdiplus::Color pixel(255, GetRValue(color), GetGValue(color), GetBValue(color));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->SetPixel(x, y, pixel);
    return image;
}
}  // namespace uilibtest
