#pragma once
// What the process's heaps hold in use, block by block: a leak adds to it,
// while a heap that keeps freed pages for later (which private bytes show)
// does not. The platform's string cache keeps freed strings as blocks in use;
// a process that counts should start with it off (OANOCACHE=1).
#include <windows.h>

#include <vector>

struct HeapUsage {
    SIZE_T bytes = 0;
    size_t blocks = 0;

    static HeapUsage Read() {
        HeapUsage usage;
        std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
        heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
        for (const HANDLE heap : heaps) {
            if (!::HeapLock(heap)) continue;
            PROCESS_HEAP_ENTRY entry{};
            while (::HeapWalk(heap, &entry)) {
                if (!(entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)) continue;
                usage.bytes += entry.cbData;
                ++usage.blocks;
            }
            ::HeapUnlock(heap);
        }
        return usage;
    }
    static bool StringCacheOff() { return ::GetEnvironmentVariableW(L"OANOCACHE", nullptr, 0) != 0; }
};
