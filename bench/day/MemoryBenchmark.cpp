// Many cycles of what a user does all day in one process: refresh, scroll down,
// scroll up, change the day, open and close a bubble. The counters after the
// warm-up are the floor; what grows after them is a leak.
#include <cstdio>
#include <vector>

#include "BenchModes.h"
#include "BenchStats.h"
#include "Counters.h"
#include "HeapUsage.h"
#include "DayScene.h"

namespace bench {
namespace {
constexpr int kWarmUp = 100;
constexpr int kMeetingsPerDay = 24;
// Committed memory moves in pages; a page or two is the allocator, not a leak.
constexpr SIZE_T kMemorySlack = 16 * 1024;
// A few blocks made once on first use (a day or a picture seen for the first
// time) are no growth; a leak of one block a cycle is thousands.
constexpr size_t kBlockSlack = 8;

std::string Describe(int cycle, const Counters& c) {
    return Format("after %d cycles: working set %zu KB, private bytes %zu KB, heap in use %zu KB in %zu blocks, "
                  "handles %lu, windows %lu, GetGuiResources GDI %lu USER %lu, PrivateUsage %zu KB",
                  cycle, c.workingSet / 1024, c.pagefile / 1024, c.heapBytes / 1024, c.heapBlocks, c.handles, c.windows,
                  c.gdiObjects, c.userObjects, c.privateUsage / 1024);
}
}  // namespace

int MemoryBenchmark(int cycles) {
    DayScene scene(kMeetingsPerDay);
    if (!scene.Error().empty()) {
        std::fprintf(stderr, "memory over time: %s\n", scene.Error().c_str());
        return 1;
    }
    const int warmUp = cycles > kWarmUp ? kWarmUp : cycles / 2;
    const int report = cycles >= 10 ? cycles / 10 : 1;
    Counters floor;
    int bubbles = 0;
    Stopwatch watch;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        scene.Refresh();
        scene.Scroll(true);
        scene.Scroll(false);
        if (cycle % 2) scene.View().NextDay();
        else scene.View().PreviousDay();
        scene.Pump();
        if (scene.OpenBubble()) ++bubbles;
        scene.Pump();
        scene.CloseBubble();
        scene.Pump();
        if (cycle == warmUp) {
            floor = ReadCounters();
            PrintDetail("memory over time: " + Describe(cycle, floor));
        } else if (cycle > warmUp && cycle % report == 0) {
            PrintDetail("memory over time: " + Describe(cycle, ReadCounters()));
        }
    }
    const Counters last = ReadCounters();
    const TrueCounters truth = JudgeCounters(last);
    PrintDetail(Format("memory over time: %d cycles in %.1f s, %d bubbles opened; counters read truly: working set, "
                       "private bytes (PagefileUsage), windows (counted by enumeration)%s%s%s",
                       cycles, watch.Milliseconds() / 1000.0, bubbles, truth.handles ? ", handles" : "",
                       truth.privateUsage ? ", PrivateUsage" : "", truth.gui ? ", GetGuiResources" : ""));
    if (!truth.gui) PrintDetail("memory over time: GetGuiResources answers 0 with windows open: a stub here, not used");
    if (!truth.handles) PrintDetail("memory over time: GetProcessHandleCount answers 0: a stub here, not used");
    if (!truth.privateUsage) PrintDetail("memory over time: PrivateUsage answers 0: not used");

    const bool memoryFlat = last.pagefile <= floor.pagefile + kMemorySlack;
    bool met = memoryFlat && last.windows <= floor.windows;
    std::string value = Format("after %d cycles: private bytes %s, working set %s, windows %s", cycles,
                               Growth(floor.pagefile, last.pagefile, true).c_str(),
                               Growth(floor.workingSet, last.workingSet, true).c_str(),
                               Growth(floor.windows, last.windows, false).c_str());
    // Blocks in use only mean something with the string cache off.
    if (HeapUsage::StringCacheOff()) {
        value += Format(", heap blocks in use %s (%s)", Growth(floor.heapBlocks, last.heapBlocks, false).c_str(),
                        Growth(floor.heapBytes, last.heapBytes, true).c_str());
        met = met && last.heapBlocks <= floor.heapBlocks + kBlockSlack;
    }
    if (truth.handles) {
        value += Format(", handles %s", Growth(floor.handles, last.handles, false).c_str());
        met = met && last.handles <= floor.handles;
    }
    if (truth.gui) {
        value += Format(", GDI %s, USER %s", Growth(floor.gdiObjects, last.gdiObjects, false).c_str(),
                        Growth(floor.userObjects, last.userObjects, false).c_str());
        met = met && last.gdiObjects <= floor.gdiObjects && last.userObjects <= floor.userObjects;
    }
    PrintFigure("memory over time", value, Format("no growth after %d cycles", warmUp), met && bubbles == cycles);
    return 0;
}
}  // namespace bench
