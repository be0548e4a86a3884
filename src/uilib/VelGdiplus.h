#pragma once
// Pictures of the resource library ("IMAGE" resources, PNG with alpha) drawn
// through GDI+: at their own size, measured, stretched as nine-grids, and
// two-colour gradient fills. GDI+ itself is started by CUIToolkit.
//
// Failures write a fixed line to the debugger output and return FALSE; the
// caller goes on without the picture.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <memory>

class CVelGdiplus {
public:
    CVelGdiplus() = delete;

    // Gradient modes of FillGradient.
    enum GradientMode : int {
        kGradientTopToBottom = 0,  // first colour at the top, second at the bottom
        kGradientMirrored = 1,     // first colour at top and bottom, second in the middle
    };

    // Draws image `imageId` with its top-left corner at (x, y), unscaled.
    static BOOL DrawImage(HDC hdc, int x, int y, UINT imageId);
    // The width and height of image `imageId` in pixels.
    static BOOL GetImageSize(SIZE& size, UINT imageId);

    // Draws `image` into (left, top, right, bottom): the corner x corner squares
    // unscaled, the edges stretched along their length, the centre both ways.
    // Pieces whose size comes out zero or negative are not drawn.
    static void DrawNineGrid(HDC hdc, int left, int top, int right, int bottom, Gdiplus::Image* image, int corner);
    // Fills (left, top, right, bottom) with a gradient between two opaque
    // colours; see GradientMode. Gradients are anchored at the device origin,
    // not at the rectangle. Other modes fill nothing.
    static void FillGradient(HDC hdc, int left, int top, int right, int bottom, COLORREF first, COLORREF second,
                             int mode);

    // For windows that keep a picture: a decoded copy of image `imageId` that
    // owns its pixels, or null when the image cannot be had.
    static std::unique_ptr<Gdiplus::Image> LoadResourceImage(UINT imageId);
    // Draws a kept picture at (x, y) at its own size.
    static BOOL DrawImage(HDC hdc, int x, int y, Gdiplus::Image* image);

private:
    static void DrawStretchedPiece(Gdiplus::Graphics& graphics, Gdiplus::Image* image, const Gdiplus::Rect& target,
                                   const Gdiplus::Rect& source);
};
