#pragma once
// The one seam for time inside the module: the local wall-clock time and the
// millisecond tick are read here, and tests may pin either.
#include <windows.h>
#include <oleauto.h>

namespace Clock {
// Local wall-clock time as an OLE automation date, in whole seconds.
DATE LocalNow() noexcept;
DWORD TickCount() noexcept;
// Pins the value the readings answer; null goes back to the platform's.
void PinLocalNow(const DATE* now) noexcept;
void PinTickCount(const DWORD* tick) noexcept;
}  // namespace Clock
