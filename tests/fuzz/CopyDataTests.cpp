// Command-line records handed to the running client: from this process with
// readable memory ending where the record ends (reading past it faults), and
// from a second process as the system carries them. Whatever the record, the
// client keeps exactly what it holds, or ignores it, and keeps running.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "HostileRecords.h"
#include "support/CommandFixture.h"

using fuzz::HostileRecord;

namespace {
// `count` bytes that end where a page that faults on reading begins.
class GuardedBytes {
public:
    GuardedBytes(const BYTE* bytes, size_t count) {
        SYSTEM_INFO info{};
        ::GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t readable = (count + page - 1) / page * page;
        m_base = static_cast<BYTE*>(::VirtualAlloc(nullptr, readable + page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (!m_base) return;
        DWORD old = 0;
        ::VirtualProtect(m_base + readable, page, PAGE_NOACCESS, &old);
        m_data = m_base + readable - count;
        if (count) std::memcpy(m_data, bytes, count);
    }
    ~GuardedBytes() {
        if (m_base) ::VirtualFree(m_base, 0, MEM_RELEASE);
    }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;
    [[nodiscard]] BYTE* Data() const noexcept { return m_data; }

private:
    BYTE* m_base = nullptr;
    BYTE* m_data = nullptr;
};

std::wstring Hex(HWND window) {
    wchar_t text[24] = {};
    std::swprintf(text, 24, L"%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}
}  // namespace

class CopyData : public commandtest::CommandTest {
protected:
    void SetUp() override {
        ::SetEnvironmentVariableW(L"QK_TRACE_FILE", L"NUL");
        CommandTest::SetUp();
        // Signed out: a command line is kept until sign-in, no timer takes it.
        frame->SetLoginModule(login.Get(), {});
    }
    void TearDown() override {
        ::SetEnvironmentVariableW(L"QK_TRACE_FILE", nullptr);
        CommandTest::TearDown();
    }
    void ExpectKept(const HostileRecord& record, const std::wstring& before) const {
        const std::wstring& now = frame->GetCommandLineText();
        // Compared whole, reported by size: some of them are megabytes long.
        if (!record.kept) {
            EXPECT_TRUE(now == before) << record.name << ": ignored, yet the command line changed";
        } else if (*record.kept != L"*") {
            EXPECT_TRUE(now == *record.kept) << record.name << ": kept " << now.size() << " characters, not "
                                             << record.kept->size();
        }
        DWORD_PTR result = 0;
        EXPECT_NE(0, ::SendMessageTimeoutW(frame->m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
            << record.name << ": the client stopped answering";
    }
};

TEST_F(CopyData, RecordsFromThisProcessAreNeverReadPastTheirEnd) {
    for (const HostileRecord& record : fuzz::HostileRecords()) {
        const std::wstring before = frame->GetCommandLineText();
        const GuardedBytes memory(record.bytes.data(), std::min<size_t>(record.size, record.bytes.size()));
        COPYDATASTRUCT data{record.tag, record.size, record.noData ? nullptr : memory.Data()};
        ::SendMessageW(frame->m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        ExpectKept(record, before);
    }
}

TEST_F(CopyData, RecordsFromASecondProcessLeaveTheClientRunning) {
    const std::vector<HostileRecord> records = fuzz::HostileRecords();
    const std::wstring sender = L"\"" + testsupport::BinFolder() + L"qkcopydatasend.exe\" " + Hex(frame->m_hWnd) + L" ";
    for (size_t i = 0; i <= records.size(); ++i) {
        // Last, an ordinary record again: the client still takes it.
        const HostileRecord& record = records[i % records.size()];
        const std::wstring before = frame->GetCommandLineText();
        const ULONGLONG began = ::GetTickCount64();
        const long exit = testsupport::RunProcessPumping(sender + std::to_wstring(i % records.size()), 60000);
        std::printf("  %-36s sender exit %ld after %llu ms, the client keeps %zu characters\n", record.name, exit,
                    ::GetTickCount64() - began, frame->GetCommandLineText().size());
        // What the system does not carry never reaches the client (Wine 8 carries
        // no record of some megabytes between processes).
        const bool mayFail = record.noData || record.size > (1u << 20);
        if (exit != 0 && mayFail)
            EXPECT_TRUE(frame->GetCommandLineText() == before) << record.name;
        else {
            EXPECT_EQ(0, exit) << record.name;
            ExpectKept(record, before);
        }
    }
    std::fflush(stdout);
    EXPECT_EQ(L"/Hello", frame->GetCommandLineText());
}
