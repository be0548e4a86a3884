// The schedule of update checks and the start of the suite's update program.
#include "CallProcEx.h"
#include "Clock.h"
#include "ModuleState.h"
#include "Registry.h"
#include "Trace.h"
#include "MainFrame.h"

namespace {
constexpr DWORD kMillisecondsPerMinute = 60000;
constexpr wchar_t kUpdateProgram[] = L"qkUpdate.exe";
constexpr wchar_t kCheckVersion[] = L"/CheckVersion";

// Read once per process: a changed value takes effect at the next start.
DWORD g_updatePeriod = 0;
}  // namespace

DWORD CMainFrame::ReadUpdateCheckPeriod() {
    DWORD minutes = 0;
    if (!CRegistry::ReadDword(HKEY_CURRENT_USER, kQuillkitKey, L"UpdateDurationByMinu", &minutes) || minutes == 0)
        minutes = kDefaultUpdateMinutes;
    return minutes * kMillisecondsPerMinute;
}

DWORD CMainFrame::UpdateCheckPeriod() noexcept { return g_updatePeriod; }

void CMainFrame::FireCheckforUpdate(BOOL immediate) {
    if (g_updatePeriod == 0) g_updatePeriod = ReadUpdateCheckPeriod();
    const DWORD now = Clock::TickCount();
    // After the 49-day wrap of the tick count the last check is forgotten.
    if (now < m_lastUpdateCheckTick) m_lastUpdateCheckTick = 0;
    DWORD delay = kImmediateUpdateDelayMs;
    if (!immediate) {
        delay = g_updatePeriod;
        if (now - m_lastUpdateCheckTick <= g_updatePeriod) return;
    }
    if (IsWindow()) ::SetTimer(m_hWnd, kUpdateCheckTimer, delay, nullptr);
    m_lastUpdateCheckTick = now;
}

void CMainFrame::DoCheckforUpdate() {
    CAutoFunTrace trace("CMainFrame::DoCheckforUpdate");
    const std::wstring program = ModuleState::Folder() + kUpdateProgram;
    const DWORD attributes = ::GetFileAttributesW(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        TraceText(8, "CMainFrame::DoCheckforUpdate Cannot Find qkUpdate.exe");
        return;
    }
    CCallProcEx::ZvnShellEx(program.c_str(), kCheckVersion, CCallProcEx::kNoWait, FALSE, nullptr);
}
