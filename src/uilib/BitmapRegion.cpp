#include "BitmapRegion.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "DcGuards.h"
#include "DibFormat.h"
#include "UniqueHandle.h"

namespace {
// ExtCreateRegion takes one rectangle per run of kept pixels in a row.
HRGN RegionFromRuns(const std::vector<RECT>& runs, int width, int height) {
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    region->rdh.dwSize = sizeof(RGNDATAHEADER);
    region->rdh.iType = RDH_RECTANGLES;
    region->rdh.nCount = static_cast<DWORD>(runs.size());
    region->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    region->rdh.rcBound = RECT{0, 0, width, height};
    if (!runs.empty()) std::memcpy(region->Buffer, runs.data(), runs.size() * sizeof(RECT));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
}
}  // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key) noexcept {
    try {
        BITMAP info{};
        if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
            return nullptr;
        const int width = info.bmWidth;
        const int height = info.bmHeight;

        BITMAPINFO format = TopDown32BitFormat(width, height);
        std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
        {
            WindowDC screen(nullptr);
            if (::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &format, DIB_RGB_COLORS) ==
                0)
                return nullptr;
        }

        const std::uint32_t keyPixel =
            (static_cast<std::uint32_t>(GetRValue(key)) << 16) | (GetGValue(key) << 8) | GetBValue(key);
        std::vector<RECT> runs;
        for (int y = 0; y < height; ++y) {
            const std::uint32_t* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
            int x = 0;
            while (x < width) {
                while (x < width && (row[x] & 0xFFFFFFu) == keyPixel) ++x;
                const int start = x;
                while (x < width && (row[x] & 0xFFFFFFu) != keyPixel) ++x;
                if (x > start) runs.push_back(RECT{start, y, x, y + 1});
            }
        }
        return RegionFromRuns(runs, width, height);
    } catch (...) {
        return nullptr;
    }
}
