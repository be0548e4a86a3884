// What the benchmark figures are computed from, and the meeting store the day
// benchmarks load.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "BenchStats.h"
#include "Counters.h"
#include "MeetingDay.h"
#include "webapi/MeetingStore.h"

namespace {
TEST(BenchStats, SummariesAndPairRatios) {
    struct Case {
        std::vector<double> values;
        double min, median, max;
    };
    const Case cases[] = {
        {{}, 0.0, 0.0, 0.0},
        {{9.0, 1.0, 4.0}, 1.0, 4.0, 9.0},
        {{8.0, 2.0, 6.0, 4.0}, 2.0, 5.0, 8.0},
    };
    for (const Case& c : cases) {
        const bench::Summary s = bench::Summarise(c.values);
        EXPECT_DOUBLE_EQ(c.min, s.min) << c.values.size();
        EXPECT_DOUBLE_EQ(c.median, s.median) << c.values.size();
        EXPECT_DOUBLE_EQ(c.max, s.max) << c.values.size();
    }
    // Pair by pair, the shorter side decides, a zero floor is left out.
    EXPECT_EQ((std::vector<double>{2.0, 0.5}), bench::PairRatios({4.0, 1.0, 7.0}, {2.0, 2.0}));
    EXPECT_EQ((std::vector<double>{3.0}), bench::PairRatios({5.0, 6.0}, {0.0, 2.0}));
}

TEST(BenchCounters, GrowthWordingAndTrueCounters) {
    struct Case {
        SIZE_T before, after;
        bool bytes;
        const char* expected;
    };
    const Case cases[] = {
        {4096, 4096, true, "0"}, {4096, 12288, true, "+8 KB"}, {12288, 4096, true, "-8 KB"}, {103, 100, false, "-3"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, bench::Growth(c.before, c.after, c.bytes)) << c.expected;

    // A platform that answers 0 for a counter beside open windows does not count it.
    bench::Counters stub;
    stub.windows = 12;
    stub.pagefile = 1 << 20;
    const bench::TrueCounters none = bench::JudgeCounters(stub);
    EXPECT_FALSE(none.gui || none.privateUsage || none.handles);
    stub.gdiObjects = 40;
    stub.userObjects = 20;
    stub.privateUsage = 1 << 20;
    stub.handles = 30;
    const bench::TrueCounters all = bench::JudgeCounters(stub);
    EXPECT_TRUE(all.gui && all.privateUsage && all.handles);
}

TEST(MeetingDay, TheStoreHoldsEveryMeetingOfEachDayInStartOrder) {
    const DATE firstDay = 46000.0;
    for (const auto& [days, perDay] : {std::pair(1, 1000), std::pair(2, 24)}) {
        const std::string utf8 = bench::StoreDocument(firstDay, days, perDay);
        const auto starts = webapitest::XmlValues(std::wstring(utf8.begin(), utf8.end()), L"/meetings/meeting/startTime");
        ASSERT_EQ(static_cast<size_t>(days * perDay), starts.size());
        double previous = firstDay - 1.0;
        for (size_t i = 0; i < starts.size(); ++i) {
            const double start = std::wcstod(starts[i].c_str(), nullptr);
            EXPECT_GT(start, previous) << i;
            EXPECT_LT(start, firstDay + 1.0 + (i >= static_cast<size_t>(perDay) ? 1.0 : 0.0)) << "meeting " << i;
            previous = start;
        }
    }
}
}  // namespace
