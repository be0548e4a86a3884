#include "Counters.h"

#include <psapi.h>

#include "BenchStats.h"
#include "HeapUsage.h"

namespace bench {
namespace {
BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    ::EnumChildWindows(window, CountChild, count);
    return TRUE;
}
}  // namespace

Counters ReadCounters() {
    Counters counters;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof(memory);
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof(memory))) {
        counters.workingSet = memory.WorkingSetSize;
        counters.pagefile = memory.PagefileUsage;
        counters.privateUsage = memory.PrivateUsage;
    }
    ::GetProcessHandleCount(::GetCurrentProcess(), &counters.handles);
    counters.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    counters.userObjects = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    ::EnumThreadWindows(::GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&counters.windows));
    const HeapUsage heap = HeapUsage::Read();
    counters.heapBytes = heap.bytes;
    counters.heapBlocks = heap.blocks;
    return counters;
}

TrueCounters JudgeCounters(const Counters& sample) {
    TrueCounters truth;
    truth.privateUsage = sample.privateUsage != 0 && sample.pagefile != 0;
    // A process with a window holds handles to its window station and desktop at least.
    truth.handles = sample.handles != 0 && sample.windows != 0;
    truth.gui = sample.windows != 0 && sample.gdiObjects != 0 && sample.userObjects != 0;
    return truth;
}

std::string Growth(SIZE_T before, SIZE_T after, bool bytes) {
    const long long delta = static_cast<long long>(after) - static_cast<long long>(before);
    if (delta == 0) return "0";
    if (bytes) return Format("%+lld KB", delta / 1024);
    return Format("%+lld", delta);
}
}  // namespace bench
