#pragma once
// One function a benchmark; each returns the program's exit code (0 when it
// could measure, whatever the figure).
namespace bench {
int RefreshBenchmark(int runs);
int TickBenchmark(int scrolls);
int MemoryBenchmark(int cycles);
int ActionBenchmark(int runs);
}  // namespace bench
