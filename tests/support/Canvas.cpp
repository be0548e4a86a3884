#include "support/Canvas.h"

namespace testsupport {
Canvas::Canvas(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    m_dc.reset(::CreateCompatibleDC(nullptr));
    m_bitmap.reset(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_bits = static_cast<std::uint32_t*>(bits);
    m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
}

Canvas::~Canvas() { ::SelectObject(m_dc.get(), m_old); }

COLORREF Canvas::At(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t pixel = m_bits[y * m_width + x];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    auto close = [tolerance](int x, int y) { return x - y <= tolerance && y - x <= tolerance; };
    return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) && close(GetBValue(a), GetBValue(b));
}
}  // namespace testsupport
