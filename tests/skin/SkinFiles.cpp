#include "SkinFiles.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "support/TestSupport.h"

namespace skintest {
bool WriteBitmapFile(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> body(static_cast<size_t>(stride) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = body.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(body.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(body.size());

    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
    return out.good();
}

bool WriteSolidBitmap(const std::wstring& path, int width, int height, COLORREF color) {
    return WriteBitmapFile(path, width, height, [color](int, int) { return color; });
}

bool WriteSkinText(const std::wstring& folder, const wchar_t* key, const wchar_t* value) {
    return ::WritePrivateProfileStringW(L"UILibString", key, value, (NoSlash(folder) + L"\\ZvnUI.ini").c_str()) != FALSE;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool IsLiveBitmap(HBITMAP bitmap) { return bitmap && ::GetObjectType(bitmap) == OBJ_BITMAP; }

std::wstring ResourceLibraryPath() { return testsupport::BinFolder() + L"qksjres.dll"; }

std::wstring NoSlash(std::wstring folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}
}  // namespace skintest
