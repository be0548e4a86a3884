#include "tray/TrayView.h"

#include <vector>

#include "DcGuards.h"
#include "UniqueHandle.h"
#include "support/Canvas.h"
#include "support/TestSupport.h"

namespace trayview {
namespace {
constexpr int kIconSize = 16;
constexpr int kMinOpaquePixels = 64;

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> bits;  // top-down 0xAARRGGBB
    [[nodiscard]] DWORD At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x]; }
};

// Copies a screen rectangle into a top-down 32-bit DIB.
Pixels Capture(const RECT& area) {
    Pixels out;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return out;
    testsupport::Canvas canvas(width, height);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(canvas.dc(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    const std::vector<std::uint32_t> pixels = canvas.Pixels();
    if (pixels.empty()) return out;
    out.width = width;
    out.height = height;
    out.bits.assign(pixels.begin(), pixels.end());
    return out;
}

// The icon's own pixels with their alpha, as its colour bitmap holds them.
Pixels IconPixels(HICON icon) {
    Pixels out;
    ICONINFO parts{};
    if (!icon || !::GetIconInfo(icon, &parts)) return out;
    UniqueHbitmap color(parts.hbmColor);
    UniqueHbitmap mask(parts.hbmMask);
    int width = 0, height = 0;
    const std::vector<std::uint32_t> pixels = testsupport::ReadPixels(color.get(), &width, &height);
    if (pixels.empty() || width != kIconSize || height != kIconSize) return out;
    // Without alpha every pixel would be skipped and anything would match.
    int opaque = 0;
    for (std::uint32_t pixel : pixels) opaque += (pixel >> 24) == 0xFF ? 1 : 0;
    if (opaque < kMinOpaquePixels) return out;
    out.bits.assign(pixels.begin(), pixels.end());
    out.width = out.height = kIconSize;
    return out;
}

bool MatchesAt(const Pixels& screen, const Pixels& icon, int left, int top) {
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const DWORD wanted = icon.At(x, y);
            if ((wanted >> 24) != 0xFF) continue;  // blended edges depend on the background
            if ((screen.At(left + x, top + y) & 0xFFFFFF) != (wanted & 0xFFFFFF)) return false;
        }
    }
    return true;
}
}  // namespace

bool Shows(HICON icon) {
    const HWND tray = ::FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray || !::IsWindowVisible(tray)) return false;
    const Pixels image = IconPixels(icon);
    if (image.bits.empty()) return false;
    RECT area{};
    ::GetWindowRect(tray, &area);
    const Pixels screen = Capture(area);
    for (int top = 0; top + image.height <= screen.height; ++top) {
        for (int left = 0; left + image.width <= screen.width; ++left) {
            if (MatchesAt(screen, image, left, top)) return true;
        }
    }
    return false;
}

bool WaitUntil(HICON icon, bool shown, DWORD timeoutMs) {
    return testsupport::PumpUntil([&] { return Shows(icon) == shown; }, timeoutMs);
}
}  // namespace trayview
