#include "ShadowImage.h"

#include <cstring>

#include "DcGuards.h"
#include "DibFormat.h"

HBITMAP CreateTopDownBitmap(int width, int height, std::uint32_t** bits) noexcept {
    if (width <= 0 || height <= 0) return nullptr;
    const BITMAPINFO info = TopDown32BitFormat(width, height);
    void* raw = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
    if (!bitmap) return nullptr;
    std::memset(raw, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    if (bits) *bits = static_cast<std::uint32_t*>(raw);
    return bitmap;
}

HBITMAP PremultiplyAlphaBitmap(HBITMAP source) noexcept {
    DIBSECTION section{};
    if (!source || ::GetObjectW(source, sizeof(section), &section) != static_cast<int>(sizeof(section))) return nullptr;
    const int width = section.dsBm.bmWidth;
    const int height = section.dsBm.bmHeight;
    const size_t bytes = static_cast<size_t>(section.dsBm.bmWidthBytes) * static_cast<size_t>(height);
    if (width <= 0 || height <= 0 || section.dsBm.bmBitsPixel != 32 ||
        bytes != static_cast<size_t>(width) * static_cast<size_t>(height) * 4)
        return nullptr;

    std::uint32_t* target = nullptr;
    UniqueHbitmap converted(CreateTopDownBitmap(width, height, &target));
    if (!converted) return nullptr;
    // The section's own row order is not reported reliably everywhere; GDI
    // hands the rows over top-down whatever it is.
    BITMAPINFO format = TopDown32BitFormat(width, height);
    {
        WindowDC screen(nullptr);
        if (::GetDIBits(screen.get(), source, 0, static_cast<UINT>(height), target, &format, DIB_RGB_COLORS) !=
            height)
            return nullptr;
    }
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i) {
        const std::uint32_t p = target[i];
        const std::uint32_t a = p >> 24;
        if (a == 0 || a == 255) continue;
        const std::uint32_t b = ((p & 0xFF) * a) >> 8;
        const std::uint32_t g = (((p >> 8) & 0xFF) * a) >> 8;
        const std::uint32_t r = (((p >> 16) & 0xFF) * a) >> 8;
        target[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    return converted.release();
}

bool CZvnShadowImage::LoadFromResource(HINSTANCE library, UINT id, int frames) noexcept {
    if (!library) return false;
    UniqueHbitmap loaded(static_cast<HBITMAP>(
        ::LoadImageW(library, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE)));
    if (!loaded) return false;
    return Attach(PremultiplyAlphaBitmap(loaded.get()), frames);
}

bool CZvnShadowImage::Attach(HBITMAP premultiplied, int frames) noexcept {
    Reset();
    DIBSECTION section{};
    if (!premultiplied) return false;
    m_bitmap.reset(premultiplied);
    if (::GetObjectW(premultiplied, sizeof(section), &section) != static_cast<int>(sizeof(section)) ||
        section.dsBm.bmBitsPixel != 32 || !section.dsBm.bmBits) {
        Reset();
        return false;
    }
    m_bits = static_cast<std::uint32_t*>(section.dsBm.bmBits);
    m_width = section.dsBm.bmWidth;
    m_height = section.dsBm.bmHeight;
    m_frames = frames > 0 && m_width >= frames ? frames : 1;
    return true;
}

void CZvnShadowImage::Reset() noexcept {
    m_bitmap.reset();
    m_bits = nullptr;
    m_width = m_height = m_frames = 0;
}
