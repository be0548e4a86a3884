#include "support/Watchdog.h"

#include <cstdio>
#include <algorithm>
#include <cstring>

namespace testsupport {
namespace {
// A fixed buffer: the crash report must not allocate.
char g_note[256] = {};
}  // namespace

void SetCrashNote(const char* note) noexcept {
    if (!note) note = "";
    const size_t length = std::min(std::strlen(note), sizeof(g_note) - 1);
    std::memcpy(g_note, note, length);
    g_note[length] = '\0';
}

const char* CrashNote() noexcept { return g_note; }

Watchdog::Watchdog(DWORD silenceMs)
    : m_silenceMs(silenceMs), m_stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    m_thread.reset(::CreateThread(nullptr, 0, &Watchdog::Watch, this, 0, nullptr));
}

Watchdog::~Watchdog() {
    ::SetEvent(m_stop.get());
    if (m_thread) ::WaitForSingleObject(m_thread.get(), INFINITE);
}

DWORD WINAPI Watchdog::Watch(void* self) {
    auto* dog = static_cast<Watchdog*>(self);
    unsigned long long seen = dog->m_beats.load();
    while (::WaitForSingleObject(dog->m_stop.get(), dog->m_silenceMs) == WAIT_TIMEOUT) {
        const unsigned long long now = dog->m_beats.load();
        if (now != seen) {
            seen = now;
            continue;
        }
        std::fprintf(stderr, "\nHANG: no progress for %lu ms; %s\n", static_cast<unsigned long>(dog->m_silenceMs),
                     CrashNote());
        std::fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), kHangExitCode);
    }
    return 0;
}
}  // namespace testsupport
