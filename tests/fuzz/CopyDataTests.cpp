// Command-line records handed to the running client, from the ordinary to the
// hostile, each in readable memory that ends where the record ends (reading
// past it faults). Whatever the record, the client keeps exactly what it
// holds, or ignores it, and keeps running.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "support/CommandFixture.h"

namespace {
// What a second instance writes before its arguments: its own program.
const std::wstring kProgram = L"\"C:\\suite\\qkhost.exe\" ";
// The tag of a command-line record, zero-extended on 64-bit.
constexpr ULONG_PTR kCommandLineTag = 0xFFFFFFFF;

struct HostileRecord {
    const char* name;
    ULONG_PTR tag;
    std::vector<BYTE> bytes;  // what the record points to
    DWORD size;               // what the record says it holds
    bool noData;              // a null pointer however large the size
    // The command line the client keeps: none when it must ignore the record,
    // "*" when any text will do.
    std::optional<std::wstring> kept;
};

std::vector<BYTE> Bytes(const std::wstring& text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.data());
    return {first, first + text.size() * sizeof(wchar_t)};
}

DWORD SizeOf(const std::wstring& text) { return static_cast<DWORD>(text.size() * sizeof(wchar_t)); }

std::wstring Repeat(const wchar_t* piece, size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i) text += piece;
    return text;
}

std::vector<HostileRecord> HostileRecords() {
    const std::wstring hello = kProgram + L"/Hello";
    const std::wstring terminated = hello + L'\0';
    const std::wstring longer = hello + L"AndMore";
    const std::wstring embedded = hello + std::wstring(1, L'\0') + L"/OpenSetting";
    const std::wstring large = kProgram + std::wstring(1u << 18, L'A');
    const std::wstring huge = kProgram + std::wstring(2u << 20, L'A');
    const std::wstring many = kProgram + Repeat(L"/a ", 20000);
    const std::wstring surrogate = kProgram + L"/He\xD800llo";
    const std::wstring unbalanced = L"\"C:\\suite\\qkhost.exe /Hello";
    std::vector<BYTE> noise(4096);
    unsigned state = 12345;
    for (BYTE& b : noise) b = static_cast<BYTE>((state = state * 1103515245u + 12345u) >> 16);

    return {
        {"terminated", kCommandLineTag, Bytes(terminated), SizeOf(terminated), false, L"/Hello"},
        {"no terminator", kCommandLineTag, Bytes(hello), SizeOf(hello), false, L"/Hello"},
        {"size short of the text", kCommandLineTag, Bytes(longer), SizeOf(hello), false, L"/Hello"},
        {"odd size", kCommandLineTag, Bytes(hello + L"X"), SizeOf(hello) + 1, false, L"/Hello"},
        {"odd size inside the last character", kCommandLineTag, Bytes(hello), SizeOf(hello) - 1, false, L"/Hell"},
        {"one byte", kCommandLineTag, {0x41}, 1, false, L""},
        {"zero size with data", kCommandLineTag, Bytes(hello), 0, false, std::nullopt},
        {"null data with a size", kCommandLineTag, {}, 64, true, std::nullopt},
        {"unknown tag 0", 0, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"sign-extended tag", ~ULONG_PTR{0}, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"tag above 32 bits", ULONG_PTR{0x1FFFFFFFF}, Bytes(hello), SizeOf(hello), false, std::nullopt},
        {"embedded terminator", kCommandLineTag, Bytes(embedded), SizeOf(embedded), false, L"/Hello"},
        {"unbalanced quote", kCommandLineTag, Bytes(unbalanced), SizeOf(unbalanced), false, L""},
        {"lone surrogate", kCommandLineTag, Bytes(surrogate), SizeOf(surrogate), false, L"/He\xD800llo"},
        {"20000 arguments", kCommandLineTag, Bytes(many), SizeOf(many), false, Repeat(L"/a", 20000)},
        {"512 KB", kCommandLineTag, Bytes(large), SizeOf(large), false, std::wstring(1u << 18, L'A')},
        {"4 MB", kCommandLineTag, Bytes(huge), SizeOf(huge), false, std::wstring(2u << 20, L'A')},
        {"binary noise", kCommandLineTag, noise, static_cast<DWORD>(noise.size()), false, L"*"},
    };
}

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
    void Send(const HostileRecord& record) {
        const GuardedBytes memory(record.bytes.data(), std::min<size_t>(record.size, record.bytes.size()));
        COPYDATASTRUCT data{record.tag, record.size, record.noData ? nullptr : memory.Data()};
        ::SendMessageW(frame->m_hWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }
};

TEST_F(CopyData, RecordsAreNeverReadPastTheirEndAndTheClientKeepsRunning) {
    const std::vector<HostileRecord> records = HostileRecords();
    for (const HostileRecord& record : records) {
        const std::wstring before = frame->GetCommandLineText();
        Send(record);
        const std::wstring& now = frame->GetCommandLineText();
        std::printf("  record %-36s the client keeps %zu characters\n", record.name, now.size());
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
    std::fflush(stdout);
    // After all of them an ordinary record is still taken.
    Send(records[0]);
    EXPECT_EQ(L"/Hello", frame->GetCommandLineText());
}
