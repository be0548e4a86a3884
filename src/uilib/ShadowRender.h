#pragma once
// Shadow bitmaps at a window's size, made from a shadow picture by one of the
// image modes. Stretching picks the nearest source pixel so premultiplied
// pixels stay premultiplied.
#include <windows.h>

#include "ShadowImage.h"

enum ShadowImageMode : int {
    kShadowCopy = 0,       // the picture as it is (any mode not listed)
    kShadowNineGrid = 1,   // corners kept, edges and centre stretched by the four margins
    kShadowThreePart = 2,  // picture height; ends of margins.left and margins.top kept
    kShadowScale = 3,      // the whole picture scaled
    kShadowOwnerDraw = 4,  // drawn by the owner-draw target window
};

// A new premultiplied top-down bitmap for `target` (frame `frame` of a
// multi-frame picture; the copy mode gives that frame at its own size), or
// null. Owner-drawn pictures are not made here.
HBITMAP RenderShadowBitmap(const CZvnShadowImage& image, int mode, const RECT& margins, int frame, SIZE target) noexcept;

// Blends premultiplied `source` over `target` at (x, y) (source-over).
void BlendShadowPixels(const CZvnShadowImage& source, CZvnShadowImage& target, int x, int y) noexcept;
