// The update-check schedule on the tick seam, and the start of the update
// program beside the frame's binary, with trace lines read from the real
// trace library's file.
#include <string>

#include "Clock.h"
#include "Registry.h"
#include "support/FrameFixture.h"

using namespace frametest;

namespace {
constexpr wchar_t kDuration[] = L"UpdateDurationByMinu";

void SetDuration(const DWORD* minutes) {
    if (minutes) {
        CRegistry::WriteDword(HKEY_CURRENT_USER, kQuillkitKey, kDuration, *minutes);
    } else {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kQuillkitKey, kDuration);
    }
}

std::wstring Text(const testsupport::EnvironmentFile& file) {
    std::wstring text;
    for (const std::wstring& line : file.Lines()) text += line + L"\n";
    return text;
}

class UpdateCheck : public FrameTest {
protected:
    void TearDown() override {
        Clock::PinTickCount(nullptr);
        SetDuration(nullptr);
        FrameTest::TearDown();
    }
    // Schedules at the given tick; whether the check timer was started.
    bool ScheduleAt(DWORD tick, BOOL immediate = FALSE) {
        Clock::PinTickCount(&tick);
        frame->FireCheckforUpdate(immediate);
        return TimerWasRunning(CMainFrame::kUpdateCheckTimer);
    }
};

TEST(UpdatePeriod, MinutesFromTheRegistryWithFourHoursAsDefault) {
    const struct {
        bool present;
        DWORD minutes;
        DWORD expected;
    } cases[] = {{false, 0, 14400000}, {true, 0, 14400000}, {true, 1, 60000}, {true, 30, 1800000}};
    for (const auto& c : cases) {
        SetDuration(c.present ? &c.minutes : nullptr);
        EXPECT_EQ(c.expected, CMainFrame::ReadUpdateCheckPeriod()) << c.present << " " << c.minutes;
    }
    SetDuration(nullptr);
}

TEST_F(UpdateCheck, APeriodStartsOneCheckAndIsReadOnce) {
    const DWORD minute = 1;
    SetDuration(&minute);
    const DWORD start = 0x40000000;
    ASSERT_TRUE(ScheduleAt(start));
    const DWORD period = CMainFrame::UpdateCheckPeriod();
    ASSERT_NE(0u, period);
    const DWORD other = 7;
    SetDuration(&other);

    EXPECT_FALSE(ScheduleAt(start + period)) << "within the period";
    EXPECT_EQ(period, CMainFrame::UpdateCheckPeriod()) << "kept for the process";
    EXPECT_TRUE(ScheduleAt(start + period + 1));
    EXPECT_TRUE(ScheduleAt(start + period + 2, TRUE)) << "an immediate check ignores the period";
    EXPECT_FALSE(ScheduleAt(start + period + 3)) << "and counts as the last check";
}

TEST_F(UpdateCheck, AWrappedTickCountForgetsTheLastCheck) {
    ASSERT_TRUE(ScheduleAt(0xFFFFFF00u));
    const DWORD period = CMainFrame::UpdateCheckPeriod();
    // Measured from zero after the wrap, not across it.
    EXPECT_FALSE(ScheduleAt(5));
    EXPECT_TRUE(ScheduleAt(period + 6));
}

TEST_F(UpdateCheck, TheCheckStartsTheUpdateProgramBesideTheBinary) {
    testsupport::EnvironmentFile trace(L"QK_TRACE_FILE");
    testsupport::EnvironmentFile updates(L"QK_UPDATE_LOG");
    const std::wstring program = testsupport::BinFolder() + L"qkUpdate.exe";
    ::DeleteFileW(program.c_str());

    // Through the timer, which stops after firing.
    frame->FireCheckforUpdate(TRUE);
    ::SendMessageW(frame->m_hWnd, WM_TIMER, CMainFrame::kUpdateCheckTimer, 0);
    EXPECT_FALSE(TimerWasRunning(CMainFrame::kUpdateCheckTimer));
    EXPECT_NE(std::wstring::npos, Text(trace).find(L"L8  CMainFrame::DoCheckforUpdate Cannot Find qkUpdate.exe,"));
    EXPECT_TRUE(updates.Lines().empty());

    ASSERT_TRUE(::CopyFileW((testsupport::BinFolder() + L"..\\qkUpdate.exe").c_str(), program.c_str(), FALSE));
    trace.Remove();
    frame->DoCheckforUpdate();
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !updates.Lines().empty(); }, 10000));
    const auto lines = updates.Lines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_NE(std::wstring::npos, lines[0].find(L"CheckVersion args=/CheckVersion"));
    EXPECT_EQ(std::wstring::npos, Text(trace).find(L"Cannot Find"));
    testsupport::PumpUntil([&] { return ::DeleteFileW(program.c_str()) != FALSE; }, 5000);
}

TEST_F(FrameTest, TheMessagingIdentityIsTraced) {
    testsupport::EnvironmentFile trace(L"QK_TRACE_FILE");
    host.app->Bus().Fire(VelEvent::MessagingIdentity, reinterpret_cast<INT_PTR>(L"<account/>"), 0, 0);
    EXPECT_NE(std::wstring::npos, Text(trace).find(L"L2  CMainFrame::HandleEvent, EID_GET_PARLEYID,"));
}
}  // namespace
