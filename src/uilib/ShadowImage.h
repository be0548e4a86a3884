#pragma once
// Shadow pictures: 32-bit top-down DIB sections with premultiplied alpha, as
// the layered-window update wants them, optionally holding several frames side
// by side.
#include <windows.h>

#include <cstdint>

#include "UniqueHandle.h"

// A premultiplied top-down copy of a 32-bit DIB section: colour bytes of each
// pixel with 0 < alpha < 255 become (byte * alpha) >> 8; alpha 0 and 255 stay
// as they are. Null when `source` is not a DIB section of width*height*4 bytes.
HBITMAP PremultiplyAlphaBitmap(HBITMAP source) noexcept;

// A 32-bit top-down DIB section of the given size, all pixels zero, and its bits.
HBITMAP CreateTopDownBitmap(int width, int height, std::uint32_t** bits) noexcept;

class CZvnShadowImage {
public:
    CZvnShadowImage() = default;
    CZvnShadowImage(CZvnShadowImage&&) noexcept = default;
    CZvnShadowImage& operator=(CZvnShadowImage&&) noexcept = default;

    // Loads bitmap `id` of `library` as a DIB section and premultiplies it.
    bool LoadFromResource(HINSTANCE library, UINT id, int frames = 1) noexcept;
    // Takes a premultiplied top-down 32-bit DIB section (as made by
    // CreateTopDownBitmap or PremultiplyAlphaBitmap).
    bool Attach(HBITMAP premultiplied, int frames = 1) noexcept;
    void Reset() noexcept;

    [[nodiscard]] bool IsValid() const noexcept { return m_bits != nullptr; }
    [[nodiscard]] HBITMAP Handle() const noexcept { return m_bitmap.get(); }
    [[nodiscard]] int Width() const noexcept { return m_width; }
    [[nodiscard]] int Height() const noexcept { return m_height; }
    [[nodiscard]] int Frames() const noexcept { return m_frames; }
    [[nodiscard]] int FrameWidth() const noexcept { return m_frames > 0 ? m_width / m_frames : 0; }
    // Rows top to bottom, Width() pixels each.
    [[nodiscard]] std::uint32_t* Bits() noexcept { return m_bits; }
    [[nodiscard]] std::uint32_t Pixel(int x, int y) const noexcept {
        return m_bits[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
    }

private:
    UniqueHbitmap m_bitmap;
    std::uint32_t* m_bits = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_frames = 0;
};
