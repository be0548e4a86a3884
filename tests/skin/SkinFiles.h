#pragma once
// Skin folders written by the tests: bitmap files and the ini file of texts.
#include <windows.h>

#include <functional>
#include <string>

namespace skintest {
// Writes a 24-bit bitmap file; `pixel` gives the colour at (x, y), top row first.
bool WriteBitmapFile(const std::wstring& path, int width, int height, const std::function<COLORREF(int, int)>& pixel);
bool WriteSolidBitmap(const std::wstring& path, int width, int height, COLORREF color);
// Writes `key`=`value` into section "UILibString" of folder\ZvnUI.ini.
bool WriteSkinText(const std::wstring& folder, const wchar_t* key, const wchar_t* value);

// Size of a bitmap, {0, 0} when it is not one.
SIZE BitmapSize(HBITMAP bitmap);
// True while `bitmap` is a live GDI bitmap.
bool IsLiveBitmap(HBITMAP bitmap);
// The built resource library beside the tests.
std::wstring ResourceLibraryPath();
// A folder path without its trailing backslash.
std::wstring NoSlash(std::wstring folder);
}  // namespace skintest
