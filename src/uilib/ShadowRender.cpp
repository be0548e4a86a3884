#include "ShadowRender.h"

#include <algorithm>
#include <cstdint>

namespace {
// Source coordinate for target coordinate `t` when a source of `length` with
// fixed ends `head` and `tail` is stretched to `target`.
int MapAxis(int t, int length, int head, int tail, int target) noexcept {
    head = std::clamp(head, 0, length);
    tail = std::clamp(tail, 0, length - head);
    const int fixedHead = std::min(head, target);
    const int fixedTail = std::min(tail, target - fixedHead);
    if (t < fixedHead) return t;
    if (t >= target - fixedTail) return length - (target - t);
    const int middle = length - head - tail;
    const int stretched = target - fixedHead - fixedTail;
    if (middle <= 0) return std::clamp(head, 0, length - 1);
    return head + static_cast<int>(static_cast<long long>(t - fixedHead) * middle / stretched);
}
}  // namespace

HBITMAP RenderShadowBitmap(const CZvnShadowImage& image, int mode, const RECT& margins, int frame,
                           SIZE target) noexcept {
    if (!image.IsValid() || mode == kShadowOwnerDraw) return nullptr;
    const int frameWidth = image.FrameWidth();
    const int originX = std::clamp(frame, 0, image.Frames() - 1) * frameWidth;
    int width = static_cast<int>(target.cx);
    int height = static_cast<int>(target.cy);
    switch (mode) {
    case kShadowThreePart:
        height = image.Height();
        break;
    case kShadowNineGrid:
    case kShadowScale:
        break;
    default:
        // One frame as it is: the frames lie side by side, so the full width
        // from a later frame's origin would run past each row.
        width = frameWidth;
        height = image.Height();
        break;
    }
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateTopDownBitmap(width, height, &bits);
    if (!bitmap) return nullptr;

    for (int y = 0; y < height; ++y) {
        int sy = y;
        if (mode == kShadowNineGrid) sy = MapAxis(y, image.Height(), margins.top, margins.bottom, height);
        if (mode == kShadowScale) sy = static_cast<int>(static_cast<long long>(y) * image.Height() / height);
        for (int x = 0; x < width; ++x) {
            int sx = originX + x;
            if (mode == kShadowNineGrid) sx = originX + MapAxis(x, frameWidth, margins.left, margins.right, width);
            if (mode == kShadowThreePart) sx = originX + MapAxis(x, frameWidth, margins.left, margins.top, width);
            if (mode == kShadowScale) sx = static_cast<int>(static_cast<long long>(x) * image.Width() / width);
            bits[static_cast<size_t>(y) * width + x] = image.Pixel(sx, sy);
        }
    }
    return bitmap;
}

void BlendShadowPixels(const CZvnShadowImage& source, CZvnShadowImage& target, int x, int y) noexcept {
    if (!source.IsValid() || !target.IsValid()) return;
    ::GdiFlush();
    std::uint32_t* bits = target.Bits();
    for (int sy = 0; sy < source.Height(); ++sy) {
        const int ty = y + sy;
        if (ty < 0 || ty >= target.Height()) continue;
        for (int sx = 0; sx < source.Width(); ++sx) {
            const int tx = x + sx;
            if (tx < 0 || tx >= target.Width()) continue;
            const std::uint32_t s = source.Pixel(sx, sy);
            std::uint32_t& d = bits[static_cast<size_t>(ty) * target.Width() + tx];
            const std::uint32_t keep = 255 - (s >> 24);
            std::uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const std::uint32_t channel = ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * keep) / 255;
                result |= std::min<std::uint32_t>(channel, 255) << shift;
            }
            d = result;
        }
    }
}
