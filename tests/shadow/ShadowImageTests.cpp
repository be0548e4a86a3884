// The pixels of shadow pictures: premultiplication on load and the image
// modes that fit a picture to the shadow window.
#include <gtest/gtest.h>

#include <cstdint>

#include "ShadowTestSupport.h"
#include "UniqueHandle.h"
#include "ShadowRender.h"

using namespace shadowtest;

namespace {
// A bottom-up 32-bit section, as bitmap resources load: row 0 in memory is the
// bottom row of the picture.
HBITMAP BottomUpSection(int width, int height, const std::uint32_t* topDown, int bitCount = 32) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bitCount == 32)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                static_cast<std::uint32_t*>(bits)[(height - 1 - y) * width + x] = topDown[y * width + x];
    return bitmap;
}

TEST(ShadowImage, PremultipliesPartlyTransparentPixelsOnly) {
    const std::uint32_t source[] = {
        0x00FF8040,  // alpha 0 keeps its colour bytes
        0xFF112233,  // opaque stays
        0x80FF8040,  // alpha 128
        0x01FFFFFF,  // alpha 1
        0xFE102030,  // alpha 254
        0x40000000,  // black stays black
    };
    const std::uint32_t expected[] = {
        0x00FF8040, 0xFF112233, 0x807F4020, 0x01000000, 0xFE0F1F2F, 0x40000000,
    };
    UniqueHbitmap bottomUp(BottomUpSection(3, 2, source));
    UniqueHbitmap converted(PremultiplyAlphaBitmap(bottomUp.get()));
    ASSERT_TRUE(converted);
    int width = 0, height = 0;
    const auto pixels = ReadPixels(converted.get(), &width, &height);
    ASSERT_EQ(pixels.size(), 6u);
    for (size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(pixels[i], expected[i]) << "pixel " << i;
    // What the shadow reads straight from memory is in the same, top-down order.
    CZvnShadowImage image;
    ASSERT_TRUE(image.Attach(converted.release()));
    EXPECT_EQ(image.Pixel(0, 0), expected[0]);
    EXPECT_EQ(image.Pixel(2, 1), expected[5]);
}

TEST(ShadowImage, RefusesWhatIsNotA32BitSection) {
    const std::uint32_t none[4] = {};
    UniqueHbitmap rgb(BottomUpSection(2, 2, none, 24));
    EXPECT_EQ(PremultiplyAlphaBitmap(rgb.get()), nullptr);
    UniqueHbitmap device(::CreateBitmap(2, 2, 1, 32, nullptr));
    EXPECT_EQ(PremultiplyAlphaBitmap(device.get()), nullptr);
    EXPECT_EQ(PremultiplyAlphaBitmap(nullptr), nullptr);
}

TEST(ShadowImage, ResourceShadowsLoadPremultiplied) {
    CZvnShadowImage body;
    ASSERT_TRUE(body.LoadFromResource(::GetModuleHandleW(L"qksjres.dll"), 251));
    EXPECT_EQ(body.Width(), 48);
    // Every pixel is premultiplied black: colour bytes never exceed alpha.
    int shaded = 0;
    for (int y = 0; y < body.Height(); ++y)
        for (int x = 0; x < body.Width(); ++x) {
            const std::uint32_t p = body.Pixel(x, y);
            EXPECT_EQ(p & 0xFFFFFF, 0u);
            if (p >> 24) ++shaded;
        }
    EXPECT_GT(shaded, 0);
    EXPECT_EQ(body.Pixel(24, 24) >> 24, 0u) << "the middle is clear: the owner shows through";
    EXPECT_GT(body.Pixel(24, 15) >> 24, body.Pixel(24, 2) >> 24) << "darker next to the owner";
}

// A 6x6 picture with a distinct value per pixel: 0xFF000000 | (y << 8) | x.
std::uint32_t Coordinates(int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(y << 8 | x); }
int SourceX(std::uint32_t p) { return static_cast<int>(p & 0xFF); }
int SourceY(std::uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }

struct Rendered {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Rendered Render(const CZvnShadowImage& image, int mode, RECT margins, int frame, SIZE target) {
    Rendered out;
    UniqueHbitmap bitmap(RenderShadowBitmap(image, mode, margins, frame, target));
    if (bitmap) out.pixels = ReadPixels(bitmap.get(), &out.width, &out.height);
    return out;
}

TEST(ShadowRender, NineGridKeepsCornersAndStretchesTheRest) {
    const CZvnShadowImage image = MakeImage(6, 6, Coordinates);
    const Rendered r = Render(image, kShadowNineGrid, RECT{2, 1, 2, 2}, 0, SIZE{20, 11});
    ASSERT_EQ(r.width, 20);
    ASSERT_EQ(r.height, 11);
    // Corners one to one.
    EXPECT_EQ(r.At(0, 0), Coordinates(0, 0));
    EXPECT_EQ(r.At(1, 0), Coordinates(1, 0));
    EXPECT_EQ(r.At(19, 10), Coordinates(5, 5));
    EXPECT_EQ(r.At(18, 9), Coordinates(4, 4));
    EXPECT_EQ(r.At(19, 0), Coordinates(5, 0));
    // Edges and centre only ever take the source's middle.
    for (int x = 2; x < 18; ++x) {
        EXPECT_GE(SourceX(r.At(x, 0)), 2);
        EXPECT_LE(SourceX(r.At(x, 0)), 3);
        EXPECT_EQ(SourceY(r.At(x, 0)), 0);
    }
    for (int y = 1; y < 9; ++y) {
        EXPECT_GE(SourceY(r.At(0, y)), 1);
        EXPECT_LE(SourceY(r.At(0, y)), 3);
    }
}

TEST(ShadowRender, FramesAndTheOtherModes) {
    // Two frames side by side: frame 1 starts at source x 3.
    const CZvnShadowImage frames = MakeImage(6, 4, Coordinates);
    const CZvnShadowImage twoFrames = MakeImage(6, 4, Coordinates, 2);
    Rendered r = Render(twoFrames, kShadowNineGrid, RECT{1, 1, 1, 1}, 1, SIZE{8, 8});
    ASSERT_EQ(r.width, 8);
    EXPECT_EQ(r.At(0, 0), Coordinates(3, 0));
    EXPECT_EQ(r.At(7, 7), Coordinates(5, 3));

    // Three parts: the picture's own height, the ends kept.
    r = Render(frames, kShadowThreePart, RECT{1, 2, 0, 0}, 0, SIZE{30, 50});
    ASSERT_EQ(r.width, 30);
    ASSERT_EQ(r.height, 4);
    EXPECT_EQ(r.At(0, 3), Coordinates(0, 3));
    EXPECT_EQ(r.At(28, 0), Coordinates(4, 0));
    EXPECT_EQ(r.At(29, 0), Coordinates(5, 0));
    for (int x = 1; x < 28; ++x) {
        EXPECT_GE(SourceX(r.At(x, 1)), 1);
        EXPECT_LE(SourceX(r.At(x, 1)), 3);
    }

    // Scaled: each source pixel twice in both directions.
    r = Render(frames, kShadowScale, RECT{}, 0, SIZE{12, 8});
    ASSERT_EQ(r.width, 12);
    EXPECT_EQ(r.At(11, 7), Coordinates(5, 3));
    EXPECT_EQ(r.At(4, 2), Coordinates(2, 1));
    EXPECT_EQ(r.At(5, 3), Coordinates(2, 1));

    // Any other mode: the picture as it is, whatever the window's size.
    r = Render(frames, 9, RECT{}, 0, SIZE{100, 100});
    ASSERT_EQ(r.width, 6);
    ASSERT_EQ(r.height, 4);
    EXPECT_EQ(r.At(5, 3), Coordinates(5, 3));
    // Of a picture with frames, the current frame alone.
    for (const int frame : {0, 1}) {
        r = Render(twoFrames, kShadowCopy, RECT{}, frame, SIZE{100, 100});
        ASSERT_EQ(r.width, 3) << frame;
        ASSERT_EQ(r.height, 4) << frame;
        EXPECT_EQ(r.At(0, 0), Coordinates(3 * frame, 0)) << frame;
        EXPECT_EQ(r.At(2, 3), Coordinates(3 * frame + 2, 3)) << frame;
    }

    EXPECT_TRUE(Render(frames, kShadowOwnerDraw, RECT{}, 0, SIZE{10, 10}).pixels.empty());
    EXPECT_TRUE(Render(CZvnShadowImage{}, kShadowNineGrid, RECT{}, 0, SIZE{10, 10}).pixels.empty());
}
}  // namespace
