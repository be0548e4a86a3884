#include "support/ScreenShot.h"

#include <objidl.h>

#include <gdiplus.h>

#include <vector>

#include "DcGuards.h"

namespace testsupport {
namespace {
bool PngEncoder(CLSID* clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(encoders[i].MimeType) == L"image/png") {
            *clsid = encoders[i].Clsid;
            return true;
        }
    }
    return false;
}
}  // namespace

std::unique_ptr<Canvas> CaptureScreen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    auto canvas = std::make_unique<Canvas>(width, height);
    WindowDC screen(nullptr);
    ::BitBlt(canvas->dc(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    return canvas;
}

bool SavePng(const Canvas& canvas, const std::wstring& path) {
    CLSID png{};
    if (!PngEncoder(&png)) return false;
    const size_t slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos) ::CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    ::GdiFlush();
    Gdiplus::Bitmap bitmap(canvas.width(), canvas.height(), canvas.width() * 4, PixelFormat32bppRGB,
                           const_cast<BYTE*>(reinterpret_cast<const BYTE*>(canvas.bits())));
    return bitmap.Save(path.c_str(), &png, nullptr) == Gdiplus::Ok;
}
}  // namespace testsupport
