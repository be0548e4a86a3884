#include "tray/TrayView.h"

#include <vector>

#include "DcGuards.h"
#include "UniqueHandle.h"
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

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return info;
}

// Copies a screen rectangle into a top-down 32-bit DIB.
Pixels Capture(const RECT& area) {
    Pixels out;
    out.width = area.right - area.left;
    out.height = area.bottom - area.top;
    if (out.width <= 0 || out.height <= 0) return out;
    HDC screen = ::GetDC(nullptr);
    UniqueMemDC memory(::CreateCompatibleDC(screen));
    BITMAPINFO info = TopDown32(out.width, out.height);
    void* bits = nullptr;
    UniqueHbitmap bitmap(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap && bits) {
        HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
        ::BitBlt(memory.get(), 0, 0, out.width, out.height, screen, area.left, area.top, SRCCOPY);
        ::GdiFlush();
        ::SelectObject(memory.get(), old);
        const DWORD* source = static_cast<const DWORD*>(bits);
        out.bits.assign(source, source + static_cast<size_t>(out.width) * out.height);
    }
    ::ReleaseDC(nullptr, screen);
    if (out.bits.empty()) out.width = out.height = 0;
    return out;
}

// The icon's own pixels with their alpha, as its colour bitmap holds them.
Pixels IconPixels(HICON icon) {
    Pixels out;
    ICONINFO parts{};
    if (!icon || !::GetIconInfo(icon, &parts)) return out;
    UniqueHbitmap color(parts.hbmColor);
    UniqueHbitmap mask(parts.hbmMask);
    if (!color) return out;
    BITMAPINFO info = TopDown32(kIconSize, kIconSize);
    out.bits.resize(kIconSize * kIconSize);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, color.get(), 0, kIconSize, out.bits.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != kIconSize) return Pixels{};
    // Without alpha every pixel would be skipped and anything would match.
    int opaque = 0;
    for (DWORD pixel : out.bits) opaque += (pixel >> 24) == 0xFF ? 1 : 0;
    if (opaque < kMinOpaquePixels) return Pixels{};
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

std::vector<DWORD> IconBits(HICON icon) { return IconPixels(icon).bits; }

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
