#pragma once
// What the toolkit tests share besides the toolkit itself (started for the
// whole run by support/ToolkitEnvironment.cpp): solid test pictures.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include <memory>

#include "support/Canvas.h"

namespace uilibtest {
using testsupport::Canvas;
using testsupport::Near;

// An opaque picture of one colour.
std::unique_ptr<Gdiplus::Image> SolidImage(int width, int height, COLORREF color);
}  // namespace uilibtest
