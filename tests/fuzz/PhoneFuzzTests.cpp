// Hostile phone messages through the bridge's real arrival path: the
// messaging client's callback, the bridge's window, the command handler, the
// suite's meetings library and the answer. Every message must be answered or
// dropped as the rules say, and the process must not crash, hang or grow.
//
// QK_FUZZ_MESSAGES (default 2000), QK_FUZZ_SEED and QK_FUZZ_FIRST choose the
// cases, QK_FUZZ_ONLY one mutation for all; scripts/fuzz.sh runs the long count.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

#include "ComHolders.h"
#include "IPPhoneBoshPorxy.h"
#include "MSDom.h"
#include "HeapUsage.h"
#include "PhoneMessages.h"
#include "UrlCodec.h"
#include "support/CommandFixture.h"
#include "support/Watchdog.h"

using namespace fuzz;
using namespace IPPhone;
using Microsoft::WRL::ComPtr;

namespace {
constexpr char kSender[] = "phone@acme.example.com/desk";
// A result the commands answer with -2 at once.
constexpr DWORD kLibraryFailure = 4;

uint64_t EnvNumber(const wchar_t* name, uint64_t fallback) {
    wchar_t text[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, text, 32);
    return length && length < 32 ? std::wcstoull(text, nullptr, 10) : fallback;
}

// An answer as the phone would read it.
struct Reading {
    std::string problem;  // empty for a well-formed answer
    std::wstring command, sequence, key;
    bool hasPassword = false;
    long code = 0;
};

Reading Read(const std::string& receiver, const std::string& body) {
    Reading r;
    if (receiver != kSender) r.problem = "sent to " + receiver;
    if (body.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_*.+%") !=
        std::string::npos)
        r.problem = "a byte the wire format does not allow";
    ComPtr<IUnknown> doc, root;
    if (FAILED(CMSDom::CreateFromString(Bstr(DecodeMessageBody(body.c_str()).c_str()).get(), doc.GetAddressOf())) ||
        FAILED(CMSDom::GetRootNode(doc.Get(), root.GetAddressOf())) || !root) {
        r.problem = "not a document";
        return r;
    }
    CStringEx text;
    auto read = [&](const wchar_t* path, std::wstring& into) {
        text = CStringEx();
        if (FAILED(CMSDom::GetChildNodeValue(root.Get(), Bstr(path).get(), text))) r.problem = "no element";
        into = text.str();
    };
    read(L"Command", r.command);
    read(L"Sequence", r.sequence);
    read(L"Param/MeetingKey", r.key);
    std::wstring code;
    read(L"Param/ResultCode", code);
    r.code = std::wcstol(code.c_str(), nullptr, 10);
    r.hasPassword = SUCCEEDED(CMSDom::GetChildNodeValue(root.Get(), Bstr(L"Param/MeetPassword").get(), text));
    return r;
}

class AnswerRecorder final : public IIPPhoneMessageSender {
public:
    void SendChatMessage(const char* receiver, const char* body) override {
        readings.push_back(Read(receiver ? receiver : "", body ? body : ""));
    }
    std::vector<Reading> readings;
};

// The lines of a file however long it grows (EnvironmentFile::Lines reads 1 MB).
size_t CountLines(const std::wstring& path) {
    const UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
    if (!file) return 0;
    std::vector<char> chunk(1 << 20);
    size_t lines = 0;
    DWORD read = 0;
    while (::ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read)
        lines += static_cast<size_t>(std::count(chunk.begin(), chunk.begin() + read, '\n'));
    return lines;
}

struct Usage {
    SIZE_T privateBytes = 0;
    SIZE_T heapBytes = 0;  // held in heap blocks in use
    size_t heapBlocks = 0;
    uintptr_t handleSlot = 0;
    int windows = 0;
};

Usage Measure() {
    Usage usage;
    PROCESS_MEMORY_COUNTERS counters{};
    // The private bytes; Wine reports PrivateUsage as 0, PagefileUsage counts them.
    if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters)))
        usage.privateBytes = counters.PagefileUsage;
    const HeapUsage heap = HeapUsage::Read();
    usage.heapBytes = heap.bytes;
    usage.heapBlocks = heap.blocks;
    // Wine answers the handle count with 0; a new handle takes the lowest free
    // slot, so leaked handles push it up.
    const UniqueKernelHandle probe(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    usage.handleSlot = reinterpret_cast<uintptr_t>(probe.get());
    ::EnumThreadWindows(
        ::GetCurrentThreadId(), [](HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; },
        reinterpret_cast<LPARAM>(&usage.windows));
    return usage;
}

// The platform keeps freed strings of many sizes for reuse, which looks like
// growth to a count of heap blocks in use; the switch must be set before the
// process starts.
void ExpectStringCacheOff() {
    EXPECT_TRUE(HeapUsage::StringCacheOff())
        << "run with OANOCACHE=1, or the string cache's blocks count as left behind";
}

// What the bridge did with one message or one reply of the user.
struct Seen {
    std::vector<Reading> answers;
    CIPPhoneBoshCmd* before = nullptr;
    CIPPhoneBoshCmd* after = nullptr;
    int opened = 0;
    int type = -1;
};

bool Says(const Reading& r, const std::wstring& command, const PhoneCase& c, long code) {
    return r.problem.empty() && r.command == command && r.sequence == c.sequence && r.key == c.key &&
           r.code == code && r.hasPassword == (code != -3);
}

// Whether what was seen is what outcome `o` of case `c` allows.
bool Fits(unsigned o, const PhoneCase& c, const Seen& s) {
    const bool busy = s.before != nullptr;
    const bool nothing = s.answers.empty() && s.opened == 0;
    const bool busyAnswer = busy && s.answers.size() == 1 && s.after == s.before && s.opened == 0 &&
                            Says(s.answers[0], ResponseName(c.command), c, -3);
    switch (o) {
    case kAnswered:
        if (busy) return busyAnswer;
        if (c.asks) return s.answers.empty() && s.opened == 1 && s.type == c.dialogType && s.after;
        return s.answers.size() == 1 && !s.after && s.opened == 0 && Says(s.answers[0], ResponseName(c.command), c, -2);
    case kUnknown: return busy ? busyAnswer : nothing && !s.after;
    case kCancel: return nothing && !s.after;
    case kUnparsed: return nothing && s.after == s.before;
    case kAnything:
        return s.answers.size() <= 1 && (s.answers.empty() || s.answers[0].problem.empty()) && s.opened <= 1;
    default: return false;
    }
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t ch : text) narrow += ch >= 0x20 && ch < 0x7F ? static_cast<char>(ch) : '?';
    return narrow;
}

struct Row {
    size_t cases = 0, answered = 0, dropped = 0, ms = 0;
};
}  // namespace

class PhoneFuzz : public commandtest::CommandTest {
protected:
    void SetUp() override {
        // The trace lines go nowhere: formatting them is still exercised.
        ::SetEnvironmentVariableW(L"QK_TRACE_FILE", L"NUL");
        CommandTest::SetUp();
        bridge = CIPPhoneBoshPorxy::Instance();
        ASSERT_NE(nullptr, bridge) << "the frame starts the bridge when bosh.dll is beside it";
        bridge->Commands().Attach(bridge->m_hWnd, &recorder, frame.get());
        meetingLib.SetDword(L"ResultCode", kLibraryFailure);
        commandtest::SetRunningMeetings(L"<meetings/>");
        CIPPhoneBoshCmd::SetConfirmDialogOpener([this](int type, HWND, const std::wstring&) {
            ++opened;
            openedType = type;
            // The user's dialog, as far as the command sees it.
            const HWND dialog = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                                  nullptr, nullptr);
            dialogs.push_back(dialog);
            return dialog;
        });
    }
    void TearDown() override {
        CIPPhoneBoshCmd::SetConfirmDialogOpener(nullptr);
        if (bridge) bridge->Commands().Attach(bridge->m_hWnd, bridge, frame.get());
        for (const HWND dialog : dialogs)
            if (::IsWindow(dialog)) ::DestroyWindow(dialog);
        ::SetEnvironmentVariableW(L"QK_TRACE_FILE", nullptr);
        CommandTest::TearDown();
    }

    // Lets the bridge's window act on what was posted to it, and takes what it did.
    Seen Settle(CIPPhoneBoshCmd* before) {
        testsupport::PumpPending();
        for (const Reading& r : recorder.readings) actions += r.code == -2;
        Seen seen{std::move(recorder.readings), before, bridge->Commands().Current(), opened, openedType};
        recorder.readings.clear();
        opened = 0;
        openedType = -1;
        return seen;
    }
    Seen Deliver(const std::string& body) {
        CIPPhoneBoshCmd* const before = bridge->Commands().Current();
        bridge->onMessageReceived(kSender, body.c_str());
        return Settle(before);
    }
    Seen Tell(UINT message, WPARAM wParam = 0) {
        CIPPhoneBoshCmd* const before = bridge->Commands().Current();
        ::PostMessageW(bridge->m_hWnd, message, wParam, 0);
        return Settle(before);
    }

    // Ends the command waiting for the user one of the ways it can end; what
    // is wrong with the answers that way gives, empty when nothing is.
    std::string Reply(Rng& rng, const PhoneCase& waiting, bool exact) {
        const HWND dialog = bridge->Commands().Current()->ConfirmDialog();
        static const struct {
            const char* name;
            UINT message;  // 0: the phone cancels
            WPARAM wParam;
            std::vector<long> codes;
        } kWays[] = {{"accepted", MSG_AP_BOSHCONFIRMOK, 0, {1, -2}},
                     {"declined", MSG_AP_BOSHCONFIRMNO, 0, {2}},
                     {"timed out", MSG_AP_BOSHCONFIRMTIMEOUT, 0, {3}},
                     {"cancelled by the phone", 0, 0, {}},
                     {"expired", WM_TIMER, TIMERID_TIMEOUT, {}}};
        const auto& way = kWays[rng.Below(std::size(kWays))];
        const Seen seen = way.message ? Tell(way.message, way.wParam) : Deliver(CancelBody());
        const std::string prefix = std::string("the user's dialog ") + way.name + ": ";
        if (seen.after) return prefix + "the command still runs";
        if (dialog && ::IsWindow(dialog)) return prefix + "the dialog stays open";
        if (seen.answers.size() != way.codes.size()) return prefix + std::to_string(seen.answers.size()) + " answers";
        for (size_t i = 0; i < way.codes.size(); ++i) {
            const Reading& r = seen.answers[i];
            if (!r.problem.empty() || r.code != way.codes[i]) return prefix + "answer " + std::to_string(i) + " wrong";
            if (exact && !Says(r, ResponseName(waiting.command), waiting, way.codes[i]))
                return prefix + "answer " + std::to_string(i) + " names another request";
        }
        return {};
    }

    CIPPhoneBoshPorxy* bridge = nullptr;
    AnswerRecorder recorder;
    std::vector<HWND> dialogs;
    int opened = 0;
    int openedType = -1;
    size_t actions = 0;  // answers with -2: the meetings library was asked and failed
};

TEST_F(PhoneFuzz, EveryMessageIsAnsweredOrDroppedAsTheRulesSay) {
    const uint64_t count = EnvNumber(L"QK_FUZZ_MESSAGES", 2000);
    const uint64_t seed = EnvNumber(L"QK_FUZZ_SEED", 20261206);
    const uint64_t first = EnvNumber(L"QK_FUZZ_FIRST", 0);
    char only[64] = {};
    ::GetEnvironmentVariableA("QK_FUZZ_ONLY", only, sizeof(only));
    const uint64_t warmUp = std::min<uint64_t>(count / 10, 500);
    testsupport::Watchdog watchdog(30000);
    std::map<std::string, Row> rows;
    Usage start;
    size_t wrong = 0, busyAnswers = 0, slowestMs = 0;
    uint64_t slowest = first;
    // A command left waiting for the user while the next message arrives.
    std::optional<std::pair<PhoneCase, bool>> waiting;

    for (uint64_t index = first; index < first + count; ++index) {
        if (index == first + warmUp) start = Measure();
        const PhoneCase c = MakePhoneCase(seed, index, only);
        char note[200];
        std::snprintf(note, sizeof(note), "case %llu of seed %llu (%s)", static_cast<unsigned long long>(index),
                      static_cast<unsigned long long>(seed), c.mutations.c_str());
        testsupport::SetCrashNote(note);
        watchdog.Beat();
        const auto began = std::chrono::steady_clock::now();

        const Seen seen = Deliver(c.body);
        unsigned fitted = 0;
        for (const unsigned o : {kAnswered, kUnknown, kCancel, kUnparsed, kAnything})
            if ((c.outcomes & o) && Fits(o, c, seen)) {
                fitted = o;
                break;
            }
        std::string why;
        if (!fitted) {
            why = std::to_string(seen.answers.size()) + " answers, " + std::to_string(seen.opened) + " dialogs, command " +
                  (seen.after ? "running" : "ended");
            for (const Reading& r : seen.answers)
                why += "; answered " + std::to_string(r.code) + " " + Narrow(r.command) + " sequence \"" +
                       Narrow(r.sequence.substr(0, 40)) + "\" key \"" + Narrow(r.key.substr(0, 40)) + "\" " + r.problem;
            why += "; expected " + Narrow(c.command) + " sequence \"" + Narrow(c.sequence.substr(0, 40)) + "\" key \"" +
                   Narrow(c.key.substr(0, 40)) + "\"" + (c.asks ? " asking" : "");
        }
        busyAnswers += seen.before && !seen.answers.empty();

        Rng rng{seed ^ index ^ 0x5EED};
        if (fitted && seen.after) {
            const bool exact = fitted != kAnything;
            if (seen.after != seen.before) waiting.emplace(c, exact);
            // Now and then the next message comes while the user still has to decide.
            if (!(seen.after != seen.before && rng.Chance(15))) {
                why = Reply(rng, waiting->first, waiting->second);
                if (!why.empty()) fitted = 0;
            }
        }
        if (!fitted && bridge->Commands().Current()) Deliver(CancelBody());  // start the next case afresh
        if (!bridge->Commands().Current()) waiting.reset();

        const size_t ms = static_cast<size_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began).count());
        if (ms > slowestMs) slowestMs = ms, slowest = index;
        size_t at = 0;
        for (size_t plus; at != std::string::npos; at = plus == std::string::npos ? plus : plus + 1) {
            plus = c.mutations.find('+', at);
            Row& row = rows[c.mutations.substr(at, plus == std::string::npos ? plus : plus - at)];
            ++row.cases;
            row.ms += ms;
            (fitted == kAnswered || !seen.answers.empty() ? row.answered : row.dropped)++;
        }
        if (!fitted && ++wrong <= 20)
            ADD_FAILURE() << note << ": " << why << "\n  body (first 600 characters): "
                          << Narrow(DecodeMessageBody(c.body.c_str()).substr(0, 600));
    }
    if (bridge->Commands().Current()) Deliver(CancelBody());
    testsupport::SetCrashNote("after the last case");
    const Usage end = Measure();

    for (const auto& [name, row] : rows)
        std::printf("  %-28s %7zu cases, %7zu answered, %7zu dropped, %6.1f ms each\n", name.c_str(), row.cases,
                    row.answered, row.dropped, static_cast<double>(row.ms) / static_cast<double>(row.cases));
    std::printf("phone messages: cases %llu..%llu, %llu sent, %zu wrong, %zu busy answers, slowest %zu ms (case %llu); "
                "private bytes %+lld KB, heap in use %+lld KB in %+lld blocks, first free handle %+lld, windows %+d after the first %llu\n",
                static_cast<unsigned long long>(first), static_cast<unsigned long long>(first + count - 1),
                static_cast<unsigned long long>(count), wrong, busyAnswers, slowestMs,
                static_cast<unsigned long long>(slowest),
                (static_cast<long long>(end.privateBytes) - static_cast<long long>(start.privateBytes)) / 1024,
                (static_cast<long long>(end.heapBytes) - static_cast<long long>(start.heapBytes)) / 1024,
                static_cast<long long>(end.heapBlocks) - static_cast<long long>(start.heapBlocks),
                static_cast<long long>(end.handleSlot) - static_cast<long long>(start.handleSlot),
                end.windows - start.windows,
                static_cast<unsigned long long>(warmUp));
    std::fflush(stdout);
    EXPECT_EQ(0u, wrong);
    // Each action called the library once and asked it for the result once;
    // none ran without its answer.
    EXPECT_EQ(2 * actions, CountLines(callLog.Path()));
    EXPECT_LE(end.windows, start.windows) << "confirmation windows left behind";
    EXPECT_LE(end.handleSlot, start.handleSlot + 16 * sizeof(HANDLE)) << "handles left open";
    // Messages of every size fragment the heap for a while; a leak of a
    // kilobyte a message (as each load of a library once cost) shows here.
    EXPECT_LE(end.privateBytes, start.privateBytes + (4u << 20) + count * 1024) << "private bytes grow";
    // Anything a message leaves behind, however small, shows in the heap.
    ExpectStringCacheOff();
    EXPECT_LE(end.heapBlocks, start.heapBlocks + 64 + count / 100) << "heap blocks left behind";
    EXPECT_LE(end.heapBytes, start.heapBytes + (64u << 10) + count * 16) << "heap bytes left behind";
}

// The same message over and over, for each way a message can go: what one of
// them leaves behind adds up where heap noise does not.
TEST_F(PhoneFuzz, RepeatedMessagesLeaveNothingBehind) {
    const auto request = [](const wchar_t* command, const wchar_t* heads) {
        return EncodeMessageBody((std::wstring(L"<ZvnXmppReq><Command>") + command +
                                  L"</Command><Sequence>7</Sequence><Param><HeadCount>" + heads +
                                  L"</HeadCount><MeetingKey>123</MeetingKey></Param></ZvnXmppReq>")
                                     .c_str());
    };
    const std::string answered = request(L"JoinMeeting", L"1"), asking = request(L"InstantMeeting", L"3");
    const std::string unknown = request(L"Reboot", L"1");
    const struct {
        const char* name;
        std::function<void()> send;
    } kinds[] = {
        {"not a document", [&] { Deliver("%3cZvnXmppReq%3e%3cCommand"); }},
        {"unknown command", [&] { Deliver(unknown); }},
        {"answered at once", [&] { Deliver(answered); }},
        {"confirmed and answered", [&] { Deliver(asking), Tell(MSG_AP_BOSHCONFIRMOK); }},
        {"busy, then cancelled", [&] { Deliver(asking), Deliver(answered), Deliver(CancelBody()); }},
    };
    ExpectStringCacheOff();
    for (const auto& kind : kinds) {
        for (int i = 0; i < 50; ++i) kind.send();
        const Usage before = Measure();
        for (int i = 0; i < 200; ++i) kind.send();
        const Usage after = Measure();
        EXPECT_LE(after.privateBytes, before.privateBytes + (32u << 10)) << kind.name;
        EXPECT_LE(after.heapBlocks, before.heapBlocks + 8) << kind.name;
        EXPECT_LE(after.handleSlot, before.handleSlot) << kind.name;
        EXPECT_EQ(nullptr, bridge->Commands().Current()) << kind.name;
    }
}

