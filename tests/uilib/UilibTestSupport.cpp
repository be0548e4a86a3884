#include "UilibTestSupport.h"

#include <gtest/gtest.h>

#include "support/ResourceEnvironment.h"
#include "support/TestSupport.h"
#include "UIToolkit.h"

namespace uilibtest {
namespace {
// The module's own start-up: resource library first, then the toolkit (which
// starts GDI+).
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::ResourceEnvironment(
        [](HINSTANCE resources) { return CUIToolkit::Initialize(resources, testsupport::BinFolder()); },
        [] { CUIToolkit::Uninitialize(); }));
}  // namespace

std::unique_ptr<Gdiplus::Image> SolidImage(int width, int height, COLORREF color) {
    auto image = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    const Gdiplus::Color pixel(255, GetRValue(color), GetGValue(color), GetBValue(color));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image->SetPixel(x, y, pixel);
    return image;
}
}  // namespace uilibtest
