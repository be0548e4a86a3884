#pragma once
// What the memory benchmark watches of its own process.
#include <windows.h>

#include <string>

namespace bench {
struct Counters {
    SIZE_T workingSet = 0;
    SIZE_T pagefile = 0;   // committed private memory
    SIZE_T privateUsage = 0;
    DWORD handles = 0;
    DWORD gdiObjects = 0;  // GetGuiResources
    DWORD userObjects = 0;
    DWORD windows = 0;     // every window of this thread, children included
    SIZE_T heapBytes = 0;  // in use on the process's heaps
    size_t heapBlocks = 0;
};

Counters ReadCounters();

// Which counters the platform reports truly: a counter that reads 0 while the
// process plainly holds such objects (it has windows, it has memory) is a
// stub of the platform.
struct TrueCounters {
    bool privateUsage = false;
    bool handles = false;
    bool gui = false;
};
TrueCounters JudgeCounters(const Counters& sample);

// The growth of one counter from the warm-up sample to the last, worded for
// the report ("+12 KB", "0").
std::string Growth(SIZE_T before, SIZE_T after, bool bytes);
}  // namespace bench
