// The work of one scroll animation tick on the day of 1,000 meetings: the
// container's batch of moves and the repaint, against the 50 ms period.
#include <cstdio>

#include "BenchModes.h"
#include "BenchStats.h"
#include "DayScene.h"

namespace bench {
namespace {
constexpr double kGoalShare = 0.10;
}  // namespace

int TickBenchmark(int scrolls) {
    DayScene scene(1000);
    if (!scene.Error().empty()) {
        std::fprintf(stderr, "scroll tick: %s\n", scene.Error().c_str());
        return 1;
    }
    scene.Scroll(true);
    scene.Scroll(false);
    std::vector<double> ticks;
    for (int i = 0; i < scrolls; ++i) {
        scene.Scroll(i % 2 == 0, &ticks);
        scene.Pump();
    }
    const double period = CDailyView::kAnimationPeriodMs;
    const Summary t = Summarise(ticks);
    PrintDetail(Format("scroll tick: %zu ticks of %d scrolls; min %.2f ms, median %.2f ms, max %.2f ms; period %.0f ms",
                       ticks.size(), scrolls, t.min, t.median, t.max, period));
    PrintFigure("scroll tick",
                Format("median %.1f%% of the period, min %.1f%%, max %.1f%%", 100.0 * t.median / period,
                       100.0 * t.min / period, 100.0 * t.max / period),
                Format("<= %.0f%%", 100.0 * kGoalShare), !ticks.empty() && t.median <= kGoalShare * period);
    return ticks.empty() ? 1 : 0;
}
}  // namespace bench
