// bosh.dll through its exports against the private XMPP server of the CTest
// fixture "prosody", whose scripted phone answers every message with its body.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "BoshClient.h"
#include "UniqueHandle.h"
#include "support/ProsodyServer.h"
#include "support/TestSupport.h"

namespace {
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// What the client called, in order.
struct Call {
    std::string kind;  // "login", "message", "error", "ready"
    int code = 0;
    std::string sender, body;
    DWORD thread = 0;
};

class RecordingSink final : public bosh::IBOSHClientSink {
public:
    int onLogin() override { return Add({"login"}); }
    int onEvent(int, int) override { return 0; }
    int onMessageReceived(const char* sender, const char* body) override {
        return Add({"message", 0, sender ? sender : "", body ? body : ""});
    }
    int onError(int code, int) override { return Add({"error", code}); }
    int onReady() override { return Add({"ready"}); }

    bool WaitForCount(const char* kind, size_t count, std::chrono::milliseconds limit) {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, limit, [&] { return Count(m_calls, kind) >= count; });
    }
    std::vector<Call> Calls() {
        std::lock_guard lock(m_lock);
        return m_calls;
    }
    std::vector<std::string> Kinds() {
        std::vector<std::string> kinds;
        for (const Call& call : Calls()) kinds.push_back(call.kind == "error" ? "error" + std::to_string(call.code) : call.kind);
        return kinds;
    }
    static size_t Count(const std::vector<Call>& calls, const char* kind) {
        size_t n = 0;
        for (const Call& call : calls) n += call.kind == kind;
        return n;
    }

private:
    int Add(Call call) {
        call.thread = ::GetCurrentThreadId();
        std::lock_guard lock(m_lock);
        m_calls.push_back(std::move(call));
        m_changed.notify_all();
        return 0;
    }
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<Call> m_calls;
};

class BoshClient : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.Running()) << "the prosody fixture is not running (QK_PROSODY_ENV_FILE)";
        library.reset(::LoadLibraryW((testsupport::BinFolder() + L"bosh.dll").c_str()));
        ASSERT_TRUE(library);
        create = reinterpret_cast<PFN_CreateBOSHClient>(::GetProcAddress(library.get(), "CreateBOSHClient"));
        release = reinterpret_cast<PFN_ReleaseBOSHClient>(::GetProcAddress(library.get(), "ReleaseBOSHClient"));
        ASSERT_TRUE(create && release);
        client = create();
        ASSERT_TRUE(client);
        client->SetSink(&sink);
        // As the desktop client configures it.
        client->Configure({nullptr, "", "", ""}, 1, 1);
    }
    void TearDown() override {
        if (client) release(client);
    }

    void Login(const std::string& password, const std::string& address = {}) {
        const std::string full = server.UserJid() + "/QKClientTEST" + std::to_string(::GetCurrentProcessId());
        client->Login((address.empty() ? server.BoshAddress() : address).c_str(), server.Domain().c_str(),
                      full.c_str(), password.c_str());
    }
    void SignIn() {
        Login(server.UserPassword());
        ASSERT_TRUE(sink.WaitForCount("login", 1, 20s));
        ASSERT_EQ(std::vector<std::string>{"login"}, sink.Kinds());
    }
    // Sends `body` to the echoing phone and waits for it to come back.
    bool EchoRoundTrip(const std::string& body, std::string& echoed, std::chrono::milliseconds limit = 15s) {
        const size_t before = RecordingSink::Count(sink.Calls(), "message");
        if (client->SendChatMessage(server.PhoneJid().c_str(), body.c_str()) != 0) return false;
        if (!sink.WaitForCount("message", before + 1, limit)) return false;
        for (const Call& call : sink.Calls())
            if (call.kind == "message") echoed = call.body;
        return true;
    }

    testsupport::ProsodyServer server;
    UniqueHmodule library;
    PFN_CreateBOSHClient create = nullptr;
    PFN_ReleaseBOSHClient release = nullptr;
    bosh::IBOSHClient* client = nullptr;
    RecordingSink sink;
};

TEST_F(BoshClient, SignsInAndSignsOffWithTheCodesTheUserWaitsFor) {
    SignIn();
    client->LogOff();
    ASSERT_TRUE(sink.WaitForCount("ready", 1, 10s));
    EXPECT_EQ((std::vector<std::string>{"login", "error0", "ready"}), sink.Kinds());
    const auto calls = sink.Calls();
    EXPECT_NE(::GetCurrentThreadId(), calls[0].thread);
    for (const Call& call : calls) EXPECT_EQ(calls[0].thread, call.thread) << call.kind;
}

TEST_F(BoshClient, EveryFailedLoginEndsWithItsCodeThenReady) {
    const struct {
        const char* name;
        std::string address, domain, password;
        int code;
    } cases[] = {
        {"wrong password", server.BoshAddress(), server.Domain(), "not-the-password", bosh::kAuthenticationFailed},
        // Port 1 on loopback: nothing listens there.
        {"no server", "127.0.0.1:1/http-bind", server.Domain(), server.UserPassword(), bosh::kConnectFailed},
        {"unknown domain", server.BoshAddress(), "elsewhere.example", server.UserPassword(), bosh::kProtocolError},
        {"unusable address", "127.0.0.1:99999/http-bind", server.Domain(), server.UserPassword(), bosh::kBadArguments},
    };
    for (const auto& c : cases) {
        RecordingSink failing;
        client->SetSink(&failing);
        const std::string full = server.UserJid() + "/QKClientFAIL";
        client->Login(c.address.c_str(), c.domain.c_str(), full.c_str(), c.password.c_str());
        ASSERT_TRUE(failing.WaitForCount("ready", 1, 30s)) << c.name;
        EXPECT_EQ((std::vector<std::string>{"error" + std::to_string(c.code), "ready"}), failing.Kinds()) << c.name;
        client->SetSink(&sink);
    }
}

// Messages the server would refuse are refused before they leave, and leave
// the session usable for the ones that follow.
TEST_F(BoshClient, MessagesGoOutAndComeBackUnchangedOrAreRefusedBeforeTheyLeave) {
    EXPECT_NE(0, client->SendChatMessage(server.PhoneJid().c_str(), "before login"));
    SignIn();
    const std::pair<const char*, const char*> refused[] = {
        {"phone@localhost", "broken \xC3 UTF-8"}, {"not a jid@", "x"}, {nullptr, "x"}, {"phone@localhost", nullptr}};
    for (const auto& [receiver, body] : refused) EXPECT_NE(0, client->SendChatMessage(receiver, body)) << (body ? body : "");
    std::string large(64 * 1024, 'x');
    for (size_t i = 0; i < large.size(); i += 100) large[i] = "<&>'\" ab"[i / 100 % 8];
    const struct {
        const char* name;
        std::string body;
    } cases[] = {
        {"markup characters", "<a href=\"x\">&amp; 'q'</a>"},
        {"non-ASCII", "Gr\xC3\xBC\xC3\x9F" "e \xE2\x80\x93 \xE4\xBC\x9A\xE8\xAD\xB0 \xF0\x9F\x8E\x89"},
        {"64 KB", large},
    };
    for (const auto& c : cases) {
        std::string echoed;
        ASSERT_TRUE(EchoRoundTrip(c.body, echoed)) << c.name;
        EXPECT_EQ(c.body, echoed) << c.name;
    }
    const Call last = sink.Calls().back();
    EXPECT_EQ(0u, last.sender.rfind(server.PhoneJid() + "/", 0)) << last.sender;
}

TEST_F(BoshClient, AMessageSentWhileAPollIsHeldLeavesAtOnce) {
    SignIn();
    // Long enough for the client's empty request to be held by the server,
    // which answers it only after its wait (10 s) when nothing arrives.
    std::this_thread::sleep_for(2s);
    const auto start = Clock::now();
    std::string echoed;
    ASSERT_TRUE(EchoRoundTrip("while held", echoed, 20s));
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_EQ("while held", echoed);
}

}  // namespace
