#pragma once
// Colours written in skin texts as "red,green,blue" in decimal.
#include <windows.h>

// Each field counts from at most its first 7 characters. An empty text, or one
// with fewer than two commas, gives `fallback`. Fields are not clamped: a
// skin's out-of-range value spills into the next channel as it always has.
COLORREF ParseSkinColor(const wchar_t* text, COLORREF fallback) noexcept;
