#include "support/Canvas.h"

#include <cstdlib>

#include "DibFormat.h"

namespace testsupport {
Canvas::Canvas(int width, int height) : m_width(width), m_height(height) {
    const BITMAPINFO info = TopDown32BitFormat(width, height);
    void* bits = nullptr;
    m_bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    m_bits = static_cast<std::uint32_t*>(bits);
    m_dc.reset(::CreateCompatibleDC(nullptr));
    if (m_dc && m_bitmap) m_old = ::SelectObject(m_dc.get(), m_bitmap.get());
}

Canvas::Canvas(int width, int height, COLORREF fill) : Canvas(width, height) {
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

std::vector<std::uint32_t> Canvas::Pixels() const {
    if (!m_bits) return {};
    ::GdiFlush();
    return std::vector<std::uint32_t>(m_bits, m_bits + static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
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

std::vector<std::uint32_t> ReadPixels(HBITMAP bitmap, int* width, int* height) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) == 0) return {};
    *width = info.bmWidth;
    *height = info.bmHeight;
    BITMAPINFO format = TopDown32BitFormat(*width, *height);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(*width) * static_cast<size_t>(*height));
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(*height), pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != *height) return {};
    return pixels;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}
}  // namespace testsupport
