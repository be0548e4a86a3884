// qkbench_day.exe: the in-process benchmarks of the meetings window.
//
//   qkbench_day refresh [RUNS]     a day of 1,000 meetings loaded, windowed, refreshed and painted,
//                                  against one MSXML parse of the same document
//   qkbench_day tick [SCROLLS]     the animation ticks of scrolling that day, against the tick period
//   qkbench_day memory [CYCLES]    refresh, scroll down and up, day change and bubble, over and over
//   qkbench_day action [RUNS]      one join through the suite's meetings library, as a phone request does it
//
// Prints FIGURE, DETAIL and VALUE lines for scripts/bench.sh.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "BenchModes.h"

namespace {
int Count(int argc, wchar_t** argv, int fallback) {
    if (argc < 3) return fallback;
    const int value = std::wcstol(argv[2], nullptr, 10);
    return value > 0 ? value : fallback;
}

int Run(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"refresh") return bench::RefreshBenchmark(Count(argc, argv, 15));
    if (mode == L"tick") return bench::TickBenchmark(Count(argc, argv, 40));
    if (mode == L"memory") return bench::MemoryBenchmark(Count(argc, argv, 10000));
    if (mode == L"action") return bench::ActionBenchmark(Count(argc, argv, 20));
    std::fprintf(stderr, "usage: qkbench_day refresh|tick|memory|action [COUNT]\n");
    return 64;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (FAILED(::OleInitialize(nullptr))) return 70;
    int code = 70;
    try {
        code = Run(argc, argv);
    } catch (...) {
        std::fprintf(stderr, "qkbench_day: unexpected failure\n");
    }
    ::OleUninitialize();
    return code;
}
