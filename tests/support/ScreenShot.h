#pragma once
// What the shared screen shows in a rectangle, read back into a canvas and,
// for people to look at, written as a PNG file. GDI+ must be started.
#include <windows.h>

#include <memory>
#include <string>

#include "support/Canvas.h"

namespace testsupport {
// The screen's pixels in `rect` (screen coordinates).
std::unique_ptr<Canvas> CaptureScreen(const RECT& rect);
// Writes `canvas` as a PNG file, creating its folder; false on failure.
bool SavePng(const Canvas& canvas, const std::wstring& path);
}  // namespace testsupport
