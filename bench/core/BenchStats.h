#pragma once
// Timing and reporting shared by the benchmark programs. Every figure is a
// ratio against a floor measured in the same run, because absolute times on
// shared machines drift from one minute to the next.
#include <windows.h>

#include <string>
#include <vector>

namespace bench {
// The platform's high-resolution counter, in milliseconds.
class Stopwatch {
public:
    Stopwatch() noexcept { Restart(); }
    void Restart() noexcept { ::QueryPerformanceCounter(&m_start); }
    [[nodiscard]] double Milliseconds() const noexcept;

private:
    LARGE_INTEGER m_start{};
};

struct Summary {
    double min = 0.0;
    double median = 0.0;
    double max = 0.0;
};

// Minimum, median (the mean of the middle two for an even count) and maximum;
// all zero for no values.
Summary Summarise(std::vector<double> values);
// work[i] / floor[i] pair by pair, so that a drift of the machine's speed
// during the run touches both sides of each ratio alike; pairs with a zero
// floor are left out.
std::vector<double> PairRatios(const std::vector<double>& work, const std::vector<double>& floor);

// One figure as scripts/bench.sh reads it: a tab-separated line
// "FIGURE name value goal met", where value and goal are already worded.
void PrintFigure(const std::string& name, const std::string& value, const std::string& goal, bool met);
// Anything else worth keeping beside the figures ("DETAIL text").
void PrintDetail(const std::string& text);
std::string Format(const char* format, ...);
}  // namespace bench
