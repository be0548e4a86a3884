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
// The period to give a window timer that stands for `ms` of waiting: `ms`
// itself, unless tests have shortened the module's waits by `divisor` (1 puts
// real time back). Never below the platform's shortest timer.
UINT TimerPeriod(UINT ms) noexcept;
void ShortenWaits(UINT divisor) noexcept;
}  // namespace Clock
