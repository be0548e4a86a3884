#include "BenchStats.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace bench {
double Stopwatch::Milliseconds() const noexcept {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value{};
        ::QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - m_start.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

Summary Summarise(std::vector<double> values) {
    Summary summary;
    if (values.empty()) return summary;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    summary.min = values.front();
    summary.max = values.back();
    summary.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    return summary;
}

std::vector<double> PairRatios(const std::vector<double>& work, const std::vector<double>& floor) {
    std::vector<double> ratios;
    for (size_t i = 0; i < work.size() && i < floor.size(); ++i)
        if (floor[i] > 0.0) ratios.push_back(work[i] / floor[i]);
    return ratios;
}

void PrintFigure(const std::string& name, const std::string& value, const std::string& goal, bool met) {
    std::printf("FIGURE\t%s\t%s\t%s\t%d\n", name.c_str(), value.c_str(), goal.c_str(), met ? 1 : 0);
    std::fflush(stdout);
}

void PrintDetail(const std::string& text) {
    std::printf("DETAIL\t%s\n", text.c_str());
    std::fflush(stdout);
}

std::string Format(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}
}  // namespace bench
