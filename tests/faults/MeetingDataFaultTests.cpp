// Hostile answers of the web-API component: the data provider and the day view
// take whatever document arrives and show what they can, without crashing,
// hanging or breaking the visible window's invariant.
#include <windows.h>

#include <cctype>
#include <cmath>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "BubblePara.h"
#include "Clock.h"
#include "ComHolders.h"
#include "DailyView.h"
#include "IdleFrameServices.h"
#include "MeetingDataProvider.h"
#include "MeetingRecord.h"
#include "UniqueHandle.h"
#include "support/TestSupport.h"

namespace {
// A web-API synchronisation object that answers every meetings query with one text.
class CannedSync final : public IQKWebApiSync {
public:
    explicit CannedSync(std::wstring answer) : m_answer(std::move(answer)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = (iid == IID_IUnknown || iid == __uuidof(IQKWebApiSync)) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE StartSync(DATE, DATE, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSyncStatus(LONG* status) override {
        *status = 2;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryMeetings(LONG, DATE, DATE, BSTR* xml) override {
        *xml = ::SysAllocStringLen(m_answer.data(), static_cast<UINT>(m_answer.size()));
        return S_OK;
    }

private:
    std::wstring m_answer;
};

// A frame that hands out the canned synchronisation and does nothing else.
class CannedFrame final : public CIdleFrameServices {
public:
    HRESULT GetSyncObject(IQKWebApiSync** out, BOOL) override {
        if (!out) return E_INVALIDARG;
        *out = sync.get();
        return *out ? S_OK : E_FAIL;
    }
    std::unique_ptr<CannedSync> sync;
};

constexpr DATE kToday = 46000.0;  // any fixed day; "now" is pinned to its 10:00

std::wstring Meeting(const std::wstring& fields) { return L"<meeting>" + fields + L"</meeting>"; }
std::wstring Meetings(const std::wstring& body) { return L"<meetings>" + body + L"</meetings>"; }
std::wstring Field(const wchar_t* name, const std::wstring& value) {
    return std::wstring(L"<") + name + L">" + value + L"</" + name + L">";
}
std::wstring Timed(double start, double end, const std::wstring& more = L"") {
    return Meeting(Field(L"meetingTopic", L"T") + Field(L"startTime", std::to_wstring(start)) +
                   Field(L"endTime", std::to_wstring(end)) + more);
}

std::wstring ThreeMeetings() {
    return Meetings(Timed(kToday + 0.40, kToday + 0.41, Field(L"meetingKey", L"k1")) +
                    Timed(kToday + 0.50, kToday + 0.55, Field(L"meetingKey", L"k2")) +
                    Timed(kToday + 0.60, kToday + 0.65, Field(L"meetingKey", L"k3")));
}

std::wstring Huge(int count) {
    std::wstring body;
    body.reserve(static_cast<size_t>(count) * 120);
    for (int i = 0; i < count; ++i)
        body += Timed(kToday + i / double(count), kToday + (i + 1) / double(count),
                      Field(L"meetingKey", std::to_wstring(i)) + Field(L"meetingStatus", L"upcoming"));
    return Meetings(body);
}

struct DataCase {
    const char* name;
    std::wstring document;
    int count;  // meetings the provider takes
};

std::vector<DataCase> Cases() {
    const std::wstring three = ThreeMeetings();
    return {
        {"empty answer", L"", 0},
        {"not xml", L"\x1\x2 garbage << >> &&", 0},
        {"truncated before the root ends", three.substr(0, three.size() - 5), 0},
        {"wrong root", L"<events>" + Timed(kToday + 0.5, kToday + 0.6) + L"</events>", 0},
        {"prefixed root", L"<x:meetings xmlns:x=\"urn:x\">" + Timed(kToday + 0.5, kToday + 0.6) + L"</x:meetings>", 0},
        {"root without meetings", L"<meetings/>", 0},
        {"text where meetings belong", Meetings(L"just text"), 1},
        {"comments and processing instructions as meetings", Meetings(L"<!--c--><?pi x?>") , 2},
        {"fields as attributes", Meetings(L"<meeting meetingTopic=\"A\" startTime=\"46000.5\"/>"), 1},
        {"wrongly typed fields",
         Meetings(Meeting(Field(L"startTime", L"noon") + Field(L"endTime", L"") + Field(L"meetingStatus", L"42") +
                          Field(L"HasHost", L"maybe") + Field(L"joinBeforeHostTime", L"99999999999999999999") +
                          Field(L"isRecurrence", L"<b>yes</b>") + Field(L"serviceType", L"RXRYRZ") +
                          Field(L"invitees", L"plain text")) +
                  Meeting(Field(L"meetingTopic", Field(L"b", L"nested") + L"tail") +
                          Field(L"host", L"no displayName") + Field(L"files", Field(L"file", L"")))),
         2},
        {"impossible dates",
         Meetings(Timed(1e308, -1e308) + Timed(-1e308, 1e308) + Timed(kToday + 0.9, kToday + 0.1) +
                  Meeting(Field(L"startTime", L"nan") + Field(L"endTime", L"inf")) +
                  Meeting(Field(L"startTime", L"-inf") + Field(L"endTime", L"-nan")) +
                  Timed(2958466.0, 2958467.0) + Timed(-657435.0, -657434.0) + Timed(kToday + 0.5, kToday + 400.0)),
         8},
        {"the same field twice", Meetings(Timed(kToday + 0.5, kToday + 0.6, Field(L"meetingTopic", L"second"))), 1},
        {"huge field", Meetings(Timed(kToday + 0.5, kToday + 0.6, Field(L"agenda", std::wstring(200000, L'a')))), 1},
        {"ten thousand meetings", Huge(10000), 10000},
    };
}

bool WindowHolds(CMeetingDataProvider& provider) {
    const INT32 first = provider.GetFirstVisibleIndex(), last = provider.GetLastVisibleIndex();
    const INT32 count = provider.GetMeetingCount();
    return (first == -1 && last == -1) || (0 <= first && first <= last && last < count) ||
           (first == count && last == count);
}

// The resource library and the UI toolkit come from the shared toolkit environment.
class HostileMeetingData : public ::testing::TestWithParam<DataCase> {
protected:
    void SetUp() override { Clock::PinLocalNow(&m_now); }
    void TearDown() override {
        view.reset();
        parent.reset();
        provider.reset();
        Clock::PinLocalNow(nullptr);
    }

    CannedFrame frame;
    std::unique_ptr<CMeetingDataProvider> provider;
    std::unique_ptr<CDailyView> view;
    UniqueHwnd parent;

private:
    DATE m_now = kToday + 10.0 / 24.0;
};

TEST_P(HostileMeetingData, TheDayShowsWhatItCanAndStaysConsistent) {
    const DataCase& c = GetParam();
    frame.sync = std::make_unique<CannedSync>(c.document);
    provider = std::make_unique<CMeetingDataProvider>(&frame);
    const DATE day = kToday;
    provider->ResetDay(&day);
    provider->LoadDay(FALSE);
    const INT32 count = provider->GetMeetingCount();
    EXPECT_EQ(c.count, count);
    EXPECT_TRUE(WindowHolds(*provider));

    // Every meeting reads, in full and as detail (the ends of a huge day only).
    for (INT32 i = 0; i < count; ++i) {
        if (i == 50 && count > 100) i = count - 50;
        CMeetingRecord record;
        ASSERT_EQ(S_OK, provider->GetMeeting(static_cast<UINT32>(i), &record)) << i;
        EXPECT_EQ(1, record.m_bValid);
        EXPECT_GE(record.m_nStatus, 0);
        EXPECT_LE(record.m_nStatus, 3);
        CBubblePara para;
        // The detail's time text starts with the date: never with its separator.
        if (provider->GetMeetingDetailInfo(i, &para) && !para.m_strTime.IsEmpty()) {
            EXPECT_NE(L',', para.m_strTime.c_str()[0]) << i;
        }
    }
    CMeetingRecord outside;
    EXPECT_EQ(E_INVALIDARG, provider->GetMeeting(static_cast<UINT32>(count), &outside));

    // The day view lays out exactly the visible window.
    // Shown without activation: the foreground belongs to the whole Wine session.
    parent.reset(::CreateWindowExW(WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP, 0, 0, 400, 600, nullptr, nullptr,
                                   nullptr, nullptr));
    ::ShowWindow(parent.get(), SW_SHOWNA);
    view = std::make_unique<CDailyView>(provider.get(), &frame);
    ASSERT_TRUE(view->Create(parent.get(), RECT{0, 0, 380, 580}));
    view->RefreshDailyView();
    testsupport::PumpPending();
    const INT32 first = provider->GetFirstVisibleIndex(), last = provider->GetLastVisibleIndex();
    const size_t expected = (first >= 0 && last < count && first <= last) ? static_cast<size_t>(last - first + 1) : 0;
    EXPECT_EQ(expected, view->GetItems().GetShownItems().size());

    // Scrolling, searching and the periodic re-check keep the window sound.
    for (int step = 0; step < 20 && provider->ScrollDown(); ++step) {
        EXPECT_TRUE(WindowHolds(*provider));
    }
    for (int step = 0; step < 20 && provider->ScrollUp(); ++step) {
        EXPECT_TRUE(WindowHolds(*provider));
    }
    provider->ShowMeeting(L"k2", nullptr, nullptr);
    EXPECT_TRUE(WindowHolds(*provider));
    provider->CheckForChanges();
    EXPECT_TRUE(WindowHolds(*provider));
    view->RefreshDailyView();
    testsupport::PumpPending();
}

INSTANTIATE_TEST_SUITE_P(Documents, HostileMeetingData, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<DataCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p; ++p)
                                 if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                             return name;
                         });
}  // namespace
