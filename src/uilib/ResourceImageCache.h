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
    // Drops every picture; before GDI+ stops, and whenever the resource
    // library may have changed under the same handle.
    static void Clear() noexcept;
};
