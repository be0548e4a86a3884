#pragma once
// Pictures of the resource library decoded once each. Item windows paint the
// same few marks on every paint, and the item pool made at start-up loads
// the same button faces for every item: decoding the PNG each time was the
// larger part of both.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

class CResourceImageCache {
public:
    CResourceImageCache() = delete;

    // Image `imageId` of the module's resource library as a 32-bit ARGB bitmap
    // that the cache owns until Clear. `found` (when given) says whether the
    // resource was there at all; null when it was not or did not decode.
    static Gdiplus::Bitmap* Get(UINT imageId, bool* found = nullptr);
    // Whether the resource library has image `imageId`, without decoding it.
    [[nodiscard]] static bool Exists(UINT imageId) noexcept;
    // The picture's width and height. A PNG's header says them, so laying out
    // a window around a picture does not decode it; other formats are decoded.
    static bool Size(UINT imageId, SIZE& size);
    // Width and height from the header of PNG bytes; false when they are not a PNG.
    static bool PngSize(const void* bytes, DWORD length, SIZE& size) noexcept;
    // Drops every picture and the decoder it kept; before GDI+ and COM stop,
    // and whenever the resource library may have changed under the same handle.
    static void Clear() noexcept;
};
