// The action of a phone's join request on its own: one object of the suite's
// meetings library, the join and its result, as the frame carries it out.
// The phone round trip is judged against its floor plus this time.
#include <cstdio>
#include <string>

#include "BenchModes.h"
#include "BenchStats.h"
#include "ComHolders.h"
#include "MeetingLibrary.h"
#include "QkMeetingLibs.h"

namespace bench {
namespace {
constexpr LONG kPhoneCaller = 13;

double JoinOnce(int n) {
    Stopwatch watch;
    CMeetingLibObject<IQKMeetingOperations> operations(CLSID_QKMeetingOperations);
    if (!operations) return -1.0;
    Bstr key(L"3110" + std::to_wstring(n));
    Bstr empty(L"");
    operations->JoinMeeting(nullptr, key.get(), empty.get(), empty.get(), 0, empty.get(), kPhoneCaller, nullptr,
                            nullptr);
    LONG code = 0;
    operations->GetResult(&code, nullptr, 0);
    return watch.Milliseconds();
}
}  // namespace

int ActionBenchmark(int runs) {
    if (JoinOnce(0) < 0.0) {
        std::fprintf(stderr, "action: the meetings library did not load\n");
        return 1;
    }
    std::vector<double> times;
    for (int i = 1; i <= runs; ++i) times.push_back(JoinOnce(i));
    const Summary t = Summarise(times);
    PrintDetail(Format("phone action: join through the meetings library, %d runs, min %.2f ms, median %.2f ms", runs,
                       t.min, t.median));
    std::printf("VALUE\taction_ms\t%.3f\n", t.median);
    return 0;
}
}  // namespace bench
