#pragma once
// What the toolkit tests share besides the toolkit itself (started for the
// whole run by support/ToolkitEnvironment.cpp): solid test pictures.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <memory>

#include "support/Canvas.h"

namespace uilibtest {
using testsupport::Canvas;
using testsupport::Near;

// An opaque picture of one colour.
inline std::unique_ptr<Gdiplus::Image> SolidImage(int width, int height, COLORREF color) {
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    const Gdiplus::Color pixel(255, GetRValue(color), GetGValue(color), GetBValue(color));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->SetPixel(x, y, pixel);
    return image;
}
}  // namespace uilibtest
