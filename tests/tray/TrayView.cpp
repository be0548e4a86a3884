#include "tray/TrayView.h"

#include <cstdint>
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
    std::vector<std::uint32_t> bits;  // top-down 0xAARRGGBB
    [[nodiscard]] std::uint32_t At(int x, int y) const { return bits[static_cast<size_t>(y) * width + x]; }
};

// Copies a screen rectangle into a top-down 32-bit DIB.
Pixels Capture(const RECT& area) {
    Pixels out{area.right - area.left, area.bottom - area.top, {}};
    if (out.width <= 0 || out.height <= 0) return Pixels{};
    testsupport::Canvas canvas(out.width, out.height);
    WindowDC screen(nullptr);
    ::BitBlt(canvas.dc(), 0, 0, out.width, out.height, screen.get(), area.left, area.top, SRCCOPY);
    out.bits = canvas.Pixels();
    return out.bits.empty() ? Pixels{} : out;
}

// The icon's own pixels with their alpha, as its colour bitmap holds them.
Pixels IconPixels(HICON icon) {
    ICONINFO parts{};
    if (!icon || !::GetIconInfo(icon, &parts)) return Pixels{};
    UniqueHbitmap color(parts.hbmColor);
    UniqueHbitmap mask(parts.hbmMask);
    Pixels out;
    out.bits = testsupport::ReadPixels(color.get(), &out.width, &out.height);
    if (out.bits.empty() || out.width != kIconSize || out.height != kIconSize) return Pixels{};
    // Without alpha every pixel would be skipped and anything would match.
    int opaque = 0;
    for (std::uint32_t pixel : out.bits) opaque += (pixel >> 24) == 0xFF ? 1 : 0;
    return opaque < kMinOpaquePixels ? Pixels{} : out;
}

bool MatchesAt(const Pixels& screen, const Pixels& icon, int left, int top) {
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x) {
            const std::uint32_t wanted = icon.At(x, y);
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
