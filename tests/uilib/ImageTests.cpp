// Pictures of the resource library drawn through GDI+, nine-grids and
// gradient fills, checked pixel by pixel on a 32-bit canvas.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "UilibTestSupport.h"
#include "support/DebugOutput.h"
#include "CommandBar.h"
#include "ImageDataStream.h"
#include "ModuleState.h"
#include "UniqueHandle.h"
#include "ResourceImageCache.h"
#include "VelGdiplus.h"

using uilibtest::Canvas;
using uilibtest::Near;

namespace {
const COLORREF kBackground = RGB(255, 0, 255);
const UINT kMissingImage = 4242;

// The meeting buttons' faces: opaque flat colour with rounded, transparent corners.
const UINT kButtonFace = 179;

SIZE ImageSize(UINT id) {
    SIZE size{-1, -1};
    EXPECT_TRUE(CVelGdiplus::GetImageSize(size, id)) << "image " << id;
    return size;
}

TEST(ResourceImages, ImageIsDrawnAtItsOwnSizeWithItsTransparency) {
    const SIZE size = ImageSize(kButtonFace);
    ASSERT_GT(size.cx, 4);
    ASSERT_GT(size.cy, 4);
    Canvas canvas(size.cx + 20, size.cy + 20, kBackground);
    const int x = 7, y = 5;
    ASSERT_TRUE(CVelGdiplus::DrawImage(canvas.dc(), x, y, kButtonFace));

    // The face covers exactly its own width and height, its rounded corner letting the background through.
    const RECT own{x, y, x + size.cx, y + size.cy};
    EXPECT_EQ(canvas.CountOtherThan({0, 0, canvas.width(), canvas.height()}, kBackground),
              canvas.CountOtherThan(own, kBackground));
    const int midX = x + size.cx / 2, midY = y + size.cy / 2;
    for (POINT edge : {POINT{x, midY}, POINT{own.right - 1, midY}, POINT{midX, y}, POINT{midX, own.bottom - 1}})
        EXPECT_NE(canvas.At(edge.x, edge.y), kBackground) << edge.x << "," << edge.y;
    EXPECT_EQ(canvas.At(x, y), kBackground);
}

TEST(ResourceImages, MissingImageDrawsNothingAndSaysSo) {
    Canvas canvas(20, 20, kBackground);
    testsupport::DebugOutputCapture debug;
    EXPECT_FALSE(CVelGdiplus::DrawImage(canvas.dc(), 0, 0, kMissingImage));
    SIZE size{77, 88};
    EXPECT_FALSE(CVelGdiplus::GetImageSize(size, kMissingImage));
    EXPECT_EQ(size.cx, 77);
    EXPECT_EQ(size.cy, 88);
    EXPECT_EQ(CVelGdiplus::LoadResourceImage(kMissingImage), nullptr);
    EXPECT_EQ(canvas.CountOtherThan({0, 0, 20, 20}, kBackground), 0);
    const std::vector<std::wstring> lines = debug.Take();
    EXPECT_EQ(lines, std::vector<std::wstring>(2, L"CVelGdiplus::DrawImage LoadResource Fail\n"));
}

TEST(ResourceImages, PicturesAreDecodedOnceAndKeptCopiesAreTheCallersOwn) {
    for (UINT id : {kButtonFace, 173u, 292u}) {
        bool found = false;
        Gdiplus::Bitmap* cached = CResourceImageCache::Get(id, &found);
        ASSERT_TRUE(found) << id;
        ASSERT_NE(cached, nullptr) << id;
        EXPECT_EQ(cached, CResourceImageCache::Get(id)) << id;

        // A window that draws into its copy changes neither the next copy nor what is drawn by number.
        std::unique_ptr<Gdiplus::Image> first = CVelGdiplus::LoadResourceImage(id);
        std::unique_ptr<Gdiplus::Image> second = CVelGdiplus::LoadResourceImage(id);
        ASSERT_TRUE(first && second) << id;
        const INT x = static_cast<INT>(first->GetWidth() / 2), y = static_cast<INT>(first->GetHeight() / 2);
        Gdiplus::Color before;
        static_cast<Gdiplus::Bitmap*>(second.get())->GetPixel(x, y, &before);
        static_cast<Gdiplus::Bitmap*>(first.get())->SetPixel(x, y, Gdiplus::Color(255, 1, 2, 3));
        Gdiplus::Color after, kept;
        static_cast<Gdiplus::Bitmap*>(second.get())->GetPixel(x, y, &after);
        cached->GetPixel(x, y, &kept);
        EXPECT_EQ(before.GetValue(), after.GetValue()) << id;
        EXPECT_EQ(before.GetValue(), kept.GetValue()) << id;
    }
    // Pictures belong to the library they came from.
    const HINSTANCE resources = ModuleState::ResourceInstance();
    ModuleState::SetResourceInstance(nullptr);
    bool found = true;
    EXPECT_EQ(CResourceImageCache::Get(kButtonFace, &found), nullptr);
    EXPECT_FALSE(found);
    ModuleState::SetResourceInstance(resources);
}

// Windows are laid out around pictures they have not decoded yet, and the
// pictures are decoded by the platform's PNG decoder rather than through GDI+:
// the header's size must be the decoded size, and the pixels those GDI+ reads.
TEST(ResourceImages, EveryPictureIsWhatGdiPlusReadsAtItsHeaderSize) {
    std::vector<UINT> ids;
    ::EnumResourceNamesW(
        ModuleState::ResourceInstance(), L"IMAGE",
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<UINT>*>(list)->push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    ASSERT_GT(ids.size(), 20u);
    for (UINT id : ids) {
        SIZE header{};
        ASSERT_TRUE(CResourceImageCache::Size(id, header)) << id;
        Gdiplus::Bitmap* decoded = CResourceImageCache::Get(id);
        ASSERT_NE(decoded, nullptr) << id;
        EXPECT_EQ(header.cx, static_cast<LONG>(decoded->GetWidth())) << id;
        EXPECT_EQ(header.cy, static_cast<LONG>(decoded->GetHeight())) << id;

        CImageDataStream bytes;
        ASSERT_TRUE(bytes.Load(id)) << id;
        Gdiplus::Bitmap reference(bytes.Stream(), FALSE);
        ASSERT_EQ(reference.GetLastStatus(), Gdiplus::Ok) << id;
        int differing = 0;
        for (INT y = 0; y < header.cy; ++y)
            for (INT x = 0; x < header.cx; ++x) {
                Gdiplus::Color ours, theirs;
                decoded->GetPixel(x, y, &ours);
                reference.GetPixel(x, y, &theirs);
                if (ours.GetValue() != theirs.GetValue()) ++differing;
            }
        EXPECT_EQ(differing, 0) << "picture " << id;
    }
}

TEST(CommandBarPictures, AreDecodedWhenFirstAskedFor) {
    UniqueHwnd owner(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr));
    CCommandBar bar;
    ASSERT_NE(bar.Create(owner.get()), nullptr);
    EXPECT_TRUE(bar.AddCommandImage(kButtonFace, 40001));
    EXPECT_FALSE(bar.AddCommandImage(kMissingImage, 40002));
    EXPECT_TRUE(bar.AddCommandImage(173, 40003));
    int first = -1, second = -1, missing = 7;
    const HIMAGELIST images = bar.CommandImages(40001, &first);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(bar.CommandImages(40003, &second), images);
    EXPECT_EQ(bar.CommandImages(40002, &missing), nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(images), 2);
    EXPECT_NE(first, second);
}

// A 9 x 9 picture with 3-pixel corners: every one of the nine pieces has its own colour.
struct NineColours {
    COLORREF topLeft = RGB(200, 0, 0), top = RGB(0, 200, 200), topRight = RGB(0, 200, 0);
    COLORREF left = RGB(250, 150, 0), centre = RGB(128, 128, 128), right = RGB(120, 0, 160);
    COLORREF bottomLeft = RGB(0, 0, 200), bottom = RGB(200, 0, 200), bottomRight = RGB(220, 220, 0);
};

std::unique_ptr<Gdiplus::Image> NineGridPicture(const NineColours& c) {
    auto image = std::make_unique<Gdiplus::Bitmap>(9, 9, PixelFormat32bppARGB);
    const COLORREF grid[3][3] = {{c.topLeft, c.top, c.topRight},
                                 {c.left, c.centre, c.right},
                                 {c.bottomLeft, c.bottom, c.bottomRight}};
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) {
            const COLORREF col = grid[y / 3][x / 3];
            image->SetPixel(x, y, Gdiplus::Color(255, GetRValue(col), GetGValue(col), GetBValue(col)));
        }
    return image;
}

void ExpectBlock(const Canvas& canvas, int left, int top, int size, COLORREF color) {
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x)
            EXPECT_TRUE(Near(canvas.At(x, y), color, 3))
                << "pixel " << x << "," << y << " is " << std::hex << canvas.At(x, y) << " not " << color;
}

TEST(NineGrid, StretchesEdgesAndCentreAndKeepsCorners) {
    const NineColours c;
    auto picture = NineGridPicture(c);
    Canvas canvas(60, 50, kBackground);
    const RECT target{10, 10, 40, 31};  // 30 x 21
    CVelGdiplus::DrawNineGrid(canvas.dc(), target.left, target.top, target.right, target.bottom, picture.get(), 3);

    ExpectBlock(canvas, 10, 10, 3, c.topLeft);
    ExpectBlock(canvas, 37, 10, 3, c.topRight);
    ExpectBlock(canvas, 10, 28, 3, c.bottomLeft);
    ExpectBlock(canvas, 37, 28, 3, c.bottomRight);
    // Edges keep their thickness between the corners.
    for (int x : {14, 35}) {
        EXPECT_TRUE(Near(canvas.At(x, 11), c.top, 8)) << x;
        EXPECT_TRUE(Near(canvas.At(x, 29), c.bottom, 8)) << x;
    }
    for (int y : {14, 26}) {
        EXPECT_TRUE(Near(canvas.At(11, y), c.left, 8)) << y;
        EXPECT_TRUE(Near(canvas.At(38, y), c.right, 8)) << y;
    }
    EXPECT_TRUE(Near(canvas.At(25, 20), c.centre, 3));
    EXPECT_EQ(canvas.CountOtherThan({0, 0, 60, 50}, kBackground), 30 * 21) << "nothing outside the target";
}

TEST(NineGrid, PiecesMeetWithoutSeamsAndNoPictureDrawsNothing) {
    // A plain picture must come out plain, however its pieces are stretched;
    // without corners the whole picture is stretched.
    const COLORREF plain = RGB(46, 160, 90);
    auto picture = uilibtest::SolidImage(24, 24, plain);
    for (const auto& [target, corner] : {std::pair{SIZE{80, 26}, 6}, std::pair{SIZE{25, 24}, 6},
                                         std::pair{SIZE{133, 61}, 6}, std::pair{SIZE{40, 30}, 0}}) {
        Canvas canvas(target.cx + 10, target.cy + 10, kBackground);
        CVelGdiplus::DrawNineGrid(canvas.dc(), 5, 5, 5 + target.cx, 5 + target.cy, picture.get(), corner);
        EXPECT_EQ(canvas.Count({5, 5, 5 + target.cx, 5 + target.cy}, plain), target.cx * target.cy)
            << target.cx << " x " << target.cy;
    }
    Canvas canvas(40, 30, kBackground);
    CVelGdiplus::DrawNineGrid(canvas.dc(), 0, 0, 40, 30, nullptr, 3);
    EXPECT_EQ(canvas.CountOtherThan({0, 0, 40, 30}, kBackground), 0);
}

const COLORREF kTop = RGB(240, 20, 0);
const COLORREF kBottom = RGB(0, 60, 220);

TEST(GradientFill, MirroredHasTheSecondColourInTheMiddle) {
    Canvas canvas(30, 101, kBackground);
    CVelGdiplus::FillGradient(canvas.dc(), 0, 0, 30, 101, kTop, kBottom, CVelGdiplus::kGradientMirrored);
    EXPECT_TRUE(Near(canvas.At(3, 0), kTop, 8));
    EXPECT_TRUE(Near(canvas.At(3, 50), kBottom, 8));
    EXPECT_TRUE(Near(canvas.At(3, 100), kTop, 8));
    EXPECT_TRUE(Near(canvas.At(3, 25), canvas.At(3, 75), 8));
    EXPECT_FALSE(Near(canvas.At(3, 25), kTop, 30));
}

}  // namespace
