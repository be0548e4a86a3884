// What the benchmark figures are computed from: the summaries and pairwise
// ratios, the growth wording, which counters count as true, and the meeting
// store the day benchmarks load.
#include <windows.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "BenchStats.h"
#include "ComHolders.h"
#include "Counters.h"
#include "MeetingDay.h"
#include "MsxmlIds.h"

namespace {
TEST(BenchStats, SummariesAndPairRatios) {
    struct Case {
        std::vector<double> values;
        double min, median, max;
    };
    const Case cases[] = {
        {{}, 0.0, 0.0, 0.0},
        {{5.0}, 5.0, 5.0, 5.0},
        {{9.0, 1.0, 4.0}, 1.0, 4.0, 9.0},
        {{8.0, 2.0, 6.0, 4.0}, 2.0, 5.0, 8.0},
        {{3.0, 3.0, 1.0, 3.0}, 1.0, 3.0, 3.0},
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
        {4096, 4096, true, "0"},         {4096, 12288, true, "+8 KB"}, {12288, 4096, true, "-8 KB"},
        {100, 103, false, "+3"},         {103, 100, false, "-3"},      {7, 7, false, "0"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, bench::Growth(c.before, c.after, c.bytes)) << c.expected;

    bench::Counters stub;
    stub.windows = 12;
    stub.pagefile = 1 << 20;
    EXPECT_FALSE(bench::JudgeCounters(stub).gui) << "GetGuiResources answering 0 beside open windows";
    EXPECT_FALSE(bench::JudgeCounters(stub).privateUsage);
    EXPECT_FALSE(bench::JudgeCounters(stub).handles);
    bench::Counters real = stub;
    real.gdiObjects = 40;
    real.userObjects = 20;
    real.privateUsage = 1 << 20;
    real.handles = 30;
    EXPECT_TRUE(bench::JudgeCounters(real).gui);
    EXPECT_TRUE(bench::JudgeCounters(real).privateUsage);
    EXPECT_TRUE(bench::JudgeCounters(real).handles);

    // The process's own counters: it has memory, and every window of the
    // thread counts, children of children too. (The platform may add windows
    // of its own with the first one, so counts are compared to each other.)
    EXPECT_GT(bench::ReadCounters().workingSet, 0u);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, window, nullptr, nullptr, nullptr);
    const DWORD windows = bench::ReadCounters().windows;
    HWND grandchild = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 2, 2, child, nullptr, nullptr, nullptr);
    EXPECT_EQ(windows + 1, bench::ReadCounters().windows);
    ::DestroyWindow(grandchild);
    EXPECT_EQ(windows, bench::ReadCounters().windows);
    ::DestroyWindow(window);
    EXPECT_LE(bench::ReadCounters().windows, windows - 2) << "the window and its child are gone";
}

TEST(MeetingDay, TheStoreHoldsEveryMeetingOfEachDayInStartOrder) {
    const DATE firstDay = 46000.0;
    struct Case {
        int days, perDay;
    };
    for (const Case& c : {Case{1, 1000}, Case{2, 24}, Case{1, 0}}) {
        const std::string utf8 = bench::StoreDocument(firstDay, c.days, c.perDay);
        Microsoft::WRL::ComPtr<IXMLDOMDocument> document;
        ASSERT_EQ(S_OK, ::CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                           reinterpret_cast<void**>(document.GetAddressOf())));
        VARIANT_BOOL ok = VARIANT_FALSE;
        ASSERT_EQ(S_OK, document->loadXML(Bstr(std::wstring(utf8.begin(), utf8.end())).get(), &ok));
        ASSERT_EQ(VARIANT_TRUE, ok) << c.perDay;
        Microsoft::WRL::ComPtr<IXMLDOMNodeList> starts;
        ASSERT_EQ(S_OK, document->selectNodes(Bstr(L"/meetings/meeting/startTime").get(), &starts));
        long count = 0;
        starts->get_length(&count);
        ASSERT_EQ(c.days * c.perDay, count);
        double previous = firstDay - 1.0;
        for (long i = 0; i < count; ++i) {
            Microsoft::WRL::ComPtr<IXMLDOMNode> node;
            Bstr text;
            starts->get_item(i, &node);
            node->get_text(text.receive());
            const double start = std::wcstod(text.c_str(), nullptr);
            EXPECT_GT(start, previous) << i;
            EXPECT_LT(start, firstDay + 1.0 + (i >= c.perDay ? 1.0 : 0.0)) << "meeting " << i << " is on its own day";
            previous = start;
        }
    }
}
}  // namespace
