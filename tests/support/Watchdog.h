#pragma once
// For long runs of hostile input: a note saying which case is running, printed
// when the process crashes, and a watchdog that ends a process that stopped
// making progress, so that a hang is reported instead of waited out.
#include <windows.h>

#include <atomic>

#include "UniqueHandle.h"

namespace testsupport {
// The exit code of a process the watchdog ended (a crash ends with 0xC0DE).
inline constexpr UINT kHangExitCode = 0x4A46;

// Replaces the note a crash or hang report prints; copied, at most 255 bytes.
void SetCrashNote(const char* note) noexcept;
[[nodiscard]] const char* CrashNote() noexcept;

class Watchdog {
public:
    // Ends the process when Beat() has not been called for `silenceMs`.
    explicit Watchdog(DWORD silenceMs);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    void Beat() noexcept { m_beats.fetch_add(1, std::memory_order_relaxed); }

private:
    static DWORD WINAPI Watch(void* self);
    DWORD m_silenceMs;
    std::atomic<unsigned long long> m_beats{0};
    UniqueKernelHandle m_stop;
    UniqueKernelHandle m_thread;
};
}  // namespace testsupport
