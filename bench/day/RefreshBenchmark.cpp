// A day of 1,000 meetings from the store: the provider's load (the web-API
// component's answer, its parse, the visible window), the day view's refresh
// and the paint of every window, against one loadXML of the same document.
#include <cstdio>

#include "BenchModes.h"
#include "BenchStats.h"
#include "ComHolders.h"
#include "DayScene.h"
#include "MsxmlIds.h"

namespace bench {
namespace {
constexpr int kMeetings = 1000;
constexpr double kGoal = 2.0;

// One parse, timed alone: the document object is made before the clock starts.
double TimeParse(const std::wstring& text) {
    Microsoft::WRL::ComPtr<IXMLDOMDocument> document;
    if (FAILED(::CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(document.GetAddressOf()))))
        return 0.0;
    Bstr xml(text);
    VARIANT_BOOL ok = VARIANT_FALSE;
    Stopwatch watch;
    document->loadXML(xml.get(), &ok);
    const double elapsed = watch.Milliseconds();
    return ok == VARIANT_TRUE ? elapsed : 0.0;
}
}  // namespace

int RefreshBenchmark(int runs) {
    DayScene scene(kMeetings);
    if (!scene.Error().empty()) {
        std::fprintf(stderr, "day refresh: %s\n", scene.Error().c_str());
        return 1;
    }
    const std::wstring document = scene.DayDocument();
    // One of each first: code and data paged in, caches of the platform filled.
    scene.Refresh();
    TimeParse(document);

    std::vector<double> work, floor, load, refresh, paint;
    for (int i = 0; i < runs; ++i) {
        Stopwatch watch;
        const RefreshPhases phases = scene.Refresh();
        work.push_back(watch.Milliseconds());
        floor.push_back(TimeParse(document));
        load.push_back(phases.load);
        refresh.push_back(phases.refresh);
        paint.push_back(phases.paint);
        scene.Pump();
    }
    const Summary ratio = Summarise(PairRatios(work, floor));
    const Summary w = Summarise(work);
    const Summary f = Summarise(floor);
    PrintDetail(Format("day refresh: %d runs; work median %.2f ms (min %.2f); floor (loadXML of %zu characters) "
                       "median %.2f ms (min %.2f)",
                       runs, w.median, w.min, document.size(), f.median, f.min));
    PrintDetail(Format("day refresh: where the time goes (medians): the provider's load %.2f ms, the day view's "
                       "refresh %.2f ms, the paint left after it %.2f ms",
                       Summarise(load).median, Summarise(refresh).median, Summarise(paint).median));
    PrintFigure("day refresh", Format("median %.2fx the floor, min %.2fx", ratio.median, ratio.min),
                Format("<= %.1fx", kGoal), ratio.median <= kGoal);
    return 0;
}
}  // namespace bench
