#include "Clock.h"

#include <optional>

namespace {
// Read and pinned on the user-interface thread only.
std::optional<DATE> g_pinnedNow;
std::optional<DWORD> g_pinnedTick;
UINT g_waitDivisor = 1;
}  // namespace

namespace Clock {
DATE LocalNow() noexcept {
    if (g_pinnedNow) return *g_pinnedNow;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    now.wMilliseconds = 0;
    DATE value = 0.0;
    ::SystemTimeToVariantTime(&now, &value);
    return value;
}

DWORD TickCount() noexcept { return g_pinnedTick ? *g_pinnedTick : ::GetTickCount(); }

void PinLocalNow(const DATE* now) noexcept {
    g_pinnedNow = now ? std::optional<DATE>(*now) : std::nullopt;
}

void PinTickCount(const DWORD* tick) noexcept {
    g_pinnedTick = tick ? std::optional<DWORD>(*tick) : std::nullopt;
}

UINT TimerPeriod(UINT ms) noexcept {
    const UINT shortened = ms / g_waitDivisor;
    return shortened < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : shortened;
}

void ShortenWaits(UINT divisor) noexcept { g_waitDivisor = divisor ? divisor : 1; }
}  // namespace Clock
