#include "VelGdiplus.h"

#include "ResourceImageCache.h"

namespace {
Gdiplus::Color Opaque(COLORREF color) {
    return Gdiplus::Color(255, GetRValue(color), GetGValue(color), GetBValue(color));
}
}  // namespace

BOOL CVelGdiplus::DrawImage(HDC hdc, int x, int y, UINT imageId) {
    bool found = false;
    Gdiplus::Bitmap* image = CResourceImageCache::Get(imageId, &found);
    if (!found) {
        ::OutputDebugStringW(L"CVelGdiplus::DrawImage LoadResource Fail\n");
        return FALSE;
    }
    if (!image) return FALSE;
    Gdiplus::Graphics graphics(hdc);
    graphics.DrawImage(image, x, y, static_cast<INT>(image->GetWidth()), static_cast<INT>(image->GetHeight()));
    return TRUE;
}

BOOL CVelGdiplus::GetImageSize(SIZE& size, UINT imageId) {
    if (!CResourceImageCache::Exists(imageId)) {
        ::OutputDebugStringW(L"CVelGdiplus::DrawImage LoadResource Fail\n");
        return FALSE;
    }
    return CResourceImageCache::Size(imageId, size) ? TRUE : FALSE;
}

void CVelGdiplus::DrawNineGrid(HDC hdc, int left, int top, int right, int bottom, Gdiplus::Image* image,
                               int corner) {
    if (!image) return;
    const int w = static_cast<int>(image->GetWidth());
    const int h = static_cast<int>(image->GetHeight());
    const int c = corner;
    const int width = right - left;
    const int height = bottom - top;

    struct Piece {
        int dx, dy, dw, dh, sx, sy, sw, sh;
    };
    const Piece pieces[9] = {
        {left, top, c, c, 0, 0, c, c},
        {right - c, top, c, c, w - c, 0, c, c},
        {left, bottom - c, c, c, 0, h - c, c, c},
        {right - c, bottom - c, c, c, w - c, h - c, c, c},
        {left + c, top, width - 2 * c, c, c, 0, w - 2 * c, c},
        {left + c, bottom - c, width - 2 * c, c, c, h - c, w - 2 * c, c},
        {left, top + c, c, height - 2 * c, 0, c, c, h - 2 * c},
        {right - c, top + c, c, height - 2 * c, w - c, c, c, h - 2 * c},
        {left + c, top + c, width - 2 * c, height - 2 * c, c, c, w - 2 * c, h - 2 * c},
    };
    Gdiplus::Graphics graphics(hdc);
    for (const Piece& p : pieces) {
        // GDI+ mirrors a negative size instead of drawing nothing.
        if (p.dw <= 0 || p.dh <= 0 || p.sw <= 0 || p.sh <= 0) continue;
        const Gdiplus::Rect target(p.dx, p.dy, p.dw, p.dh);
        if (p.dw == p.sw && p.dh == p.sh)
            graphics.DrawImage(image, target, p.sx, p.sy, p.sw, p.sh, Gdiplus::UnitPixel);
        else
            DrawStretchedPiece(graphics, image, target, Gdiplus::Rect(p.sx, p.sy, p.sw, p.sh));
    }
}

// Filtering a stretched piece reads beyond its border: left alone it blends
// in the neighbouring piece, and some GDI+ versions leave the first pixel
// row or column empty. So the piece is copied out with its border pixels
// repeated once around it, drawn one source pixel larger on every side, and
// clipped back to its place.
void CVelGdiplus::DrawStretchedPiece(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const Gdiplus::Rect& target,
                                     const Gdiplus::Rect& source) {
    const INT sw = source.Width;
    const INT sh = source.Height;
    Gdiplus::Bitmap piece(sw + 2, sh + 2, PixelFormat32bppARGB);
    if (piece.GetLastStatus() != Gdiplus::Ok) return;
    {
        Gdiplus::Graphics copy(&piece);
        copy.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        if (copy.DrawImage(image, Gdiplus::Rect(1, 1, sw, sh), source.X, source.Y, sw, sh, Gdiplus::UnitPixel) !=
            Gdiplus::Ok)
            return;
    }
    Gdiplus::Rect all(0, 0, sw + 2, sh + 2);
    Gdiplus::BitmapData data{};
    if (piece.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
        Gdiplus::Ok)
        return;
    auto row = [&data](INT y) { return reinterpret_cast<UINT32*>(static_cast<BYTE*>(data.Scan0) + y * data.Stride); };
    for (INT y = 1; y <= sh; ++y) {
        row(y)[0] = row(y)[1];
        row(y)[sw + 1] = row(y)[sw];
    }
    for (INT x = 0; x < sw + 2; ++x) {
        row(0)[x] = row(1)[x];
        row(sh + 1)[x] = row(sh)[x];
    }
    piece.UnlockBits(&data);

    const Gdiplus::REAL kx = static_cast<Gdiplus::REAL>(target.Width) / static_cast<Gdiplus::REAL>(sw);
    const Gdiplus::REAL ky = static_cast<Gdiplus::REAL>(target.Height) / static_cast<Gdiplus::REAL>(sh);
    const Gdiplus::RectF grown(static_cast<Gdiplus::REAL>(target.X) - kx, static_cast<Gdiplus::REAL>(target.Y) - ky,
                               static_cast<Gdiplus::REAL>(target.Width) + 2 * kx,
                               static_cast<Gdiplus::REAL>(target.Height) + 2 * ky);
    Gdiplus::ImageAttributes mirrorEdges;
    mirrorEdges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.SetClip(target);
    graphics.DrawImage(&piece, grown, 0.0f, 0.0f, static_cast<Gdiplus::REAL>(sw + 2),
                       static_cast<Gdiplus::REAL>(sh + 2), Gdiplus::UnitPixel, &mirrorEdges);
    graphics.ResetClip();
}

void CVelGdiplus::FillGradient(HDC hdc, int left, int top, int right, int bottom, COLORREF first, COLORREF second,
                               int mode) {
    if (mode != kGradientTopToBottom && mode != kGradientMirrored) return;
    Gdiplus::Graphics graphics(hdc);
    std::unique_ptr<Gdiplus::Brush> brush;
    if (mode == kGradientTopToBottom) {
        brush = std::make_unique<Gdiplus::LinearGradientBrush>(Gdiplus::Point(0, 0), Gdiplus::Point(0, bottom - 1),
                                                               Opaque(first), Opaque(second));
    } else {
        auto mirrored = std::make_unique<Gdiplus::LinearGradientBrush>(
            Gdiplus::Rect(0, 0, right, bottom), Opaque(first), Opaque(second), Gdiplus::LinearGradientModeVertical);
        const Gdiplus::REAL factors[] = {0.0f, 1.0f, 0.0f};
        const Gdiplus::REAL positions[] = {0.0f, 0.5f, 1.0f};
        mirrored->SetBlend(factors, positions, 3);
        brush = std::move(mirrored);
    }
    // A gradient over no distance (a one-pixel-high rectangle) cannot be made;
    // its first colour is the nearest thing to it.
    if (brush->GetLastStatus() != Gdiplus::Ok) brush = std::make_unique<Gdiplus::SolidBrush>(Opaque(first));
    graphics.FillRectangle(brush.get(), left, top, right - left, bottom - top);
}

std::unique_ptr<Gdiplus::Image> CVelGdiplus::LoadResourceImage(UINT imageId) {
    Gdiplus::Bitmap* cached = CResourceImageCache::Get(imageId);
    if (!cached) return nullptr;
    // The caller's own copy: windows may draw into the pictures they keep.
    std::unique_ptr<Gdiplus::Bitmap> copy(cached->Clone(0, 0, static_cast<INT>(cached->GetWidth()),
                                                        static_cast<INT>(cached->GetHeight()), PixelFormat32bppARGB));
    if (!copy || copy->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return copy;
}

BOOL CVelGdiplus::DrawImage(HDC hdc, int x, int y, Gdiplus::Image* image) {
    if (!image) return FALSE;
    Gdiplus::Graphics graphics(hdc);
    return graphics.DrawImage(image, x, y, static_cast<INT>(image->GetWidth()),
                              static_cast<INT>(image->GetHeight())) == Gdiplus::Ok;
}
