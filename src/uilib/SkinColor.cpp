#include "SkinColor.h"

#include <cwchar>

namespace {
const size_t kFieldChars = 7;

long ReadField(const wchar_t* begin, const wchar_t* end) noexcept {
    wchar_t field[kFieldChars + 1] = {};
    const size_t length = static_cast<size_t>(end - begin) < kFieldChars ? static_cast<size_t>(end - begin) : kFieldChars;
    std::wmemcpy(field, begin, length);
    return std::wcstol(field, nullptr, 10);
}
}  // namespace

COLORREF ParseSkinColor(const wchar_t* text, COLORREF fallback) noexcept {
    if (!text || *text == L'\0') return fallback;
    const wchar_t* first = std::wcschr(text, L',');
    if (!first) return fallback;
    const wchar_t* second = std::wcschr(first + 1, L',');
    if (!second) return fallback;
    const long red = ReadField(text, first);
    const long green = ReadField(first + 1, second);
    const long blue = ReadField(second + 1, second + 1 + std::wcslen(second + 1));
    return static_cast<COLORREF>(red + green * 256 + blue * 65536);
}
