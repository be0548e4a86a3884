// The update-check schedule on the tick seam, and the start of the update
// program beside the frame's binary, with trace lines read from the real
// trace library's file.
#include <string>

#include "Clock.h"
#include "Registry.h"
#include "support/RegistryValues.h"
#include "support/FrameFixture.h"

using namespace frametest;

namespace {
constexpr wchar_t kDuration[] = L"UpdateDurationByMinu";

std::wstring Text(const testsupport::EnvironmentFile& file) {
    std::wstring text;
    for (const std::wstring& line : file.Lines()) text += line + L"\n";
    return text;
}

class UpdateCheck : public FrameTest {
protected:
    void TearDown() override {
        Clock::PinTickCount(nullptr);
        FrameTest::TearDown();
    }
    // Schedules at the given tick; whether the check timer was started.
    bool ScheduleAt(DWORD tick, BOOL immediate = FALSE) {
        Clock::PinTickCount(&tick);
        frame->FireCheckforUpdate(immediate);
        return TimerWasRunning(CMainFrame::kUpdateCheckTimer);
    }

    SavedRegistryValues duration{HKEY_CURRENT_USER, kQuillkitKey, {kDuration}};
};

TEST_F(UpdateCheck, APeriodStartsOneCheckAndIsReadOnce) {
    duration.SetDword(kDuration, 1);
    EXPECT_EQ(60000u, CMainFrame::ReadUpdateCheckPeriod()) << "minutes from the registry";
    const DWORD start = 0x40000000;
    ASSERT_TRUE(ScheduleAt(start));
    const DWORD period = CMainFrame::UpdateCheckPeriod();
    ASSERT_NE(0u, period);
    duration.SetDword(kDuration, 7);

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
}  // namespace
