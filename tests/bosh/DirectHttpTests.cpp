// The messaging client's own kept-alive connections against a scripted
// server on loopback: what is reused, what is sent again, what is cut short.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bosh/HttpTransport.h"
#include "bosh/SocketConnection.h"

namespace {
using namespace bosh;

// What the server does with the n-th request it reads on one connection.
enum class Reply { Answer, CloseUnanswered, Hold };

class ScriptedServer {
public:
    // `script(connection, request)`, both counted from 0.
    explicit ScriptedServer(std::function<Reply(int, int)> script) : m_script(std::move(script)) {
        WSADATA data{};
        ::WSAStartup(MAKEWORD(2, 2), &data);
        m_listener.reset(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int size = sizeof(address);
        ::bind(m_listener.get(), reinterpret_cast<sockaddr*>(&address), size);
        ::listen(m_listener.get(), 4);
        ::getsockname(m_listener.get(), reinterpret_cast<sockaddr*>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~ScriptedServer() {
        m_stop = true;
        m_listener.reset();  // ends the accept
        m_thread.join();
        ::WSACleanup();
    }
    [[nodiscard]] unsigned short Port() const noexcept { return m_port; }
    [[nodiscard]] int Connections() const noexcept { return m_connections; }
    [[nodiscard]] int Requests() const noexcept { return m_requests; }

private:
    void Run() {
        std::vector<UniqueSocket> held;
        for (int connection = 0; !m_stop; ++connection) {
            UniqueSocket peer(::accept(m_listener.get(), nullptr, nullptr));
            if (!peer) return;
            ++m_connections;
            for (int request = 0;; ++request) {
                if (!ReadRequest(peer.get())) break;
                ++m_requests;
                const Reply reply = m_script(connection, request);
                if (reply == Reply::CloseUnanswered) break;
                if (reply == Reply::Hold) {
                    held.push_back(std::move(peer));
                    break;
                }
                const std::string body = "<body n='" + std::to_string(m_requests) + "'/>";
                const std::string answer =
                    "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
                ::send(peer.get(), answer.data(), static_cast<int>(answer.size()), 0);
            }
        }
    }
    // Reads one request whole: the head, then as many bytes as it says.
    static bool ReadRequest(SOCKET peer) {
        std::string text;
        char chunk[4096];
        size_t need = std::string::npos;
        while (need == std::string::npos || text.size() < need) {
            const int got = ::recv(peer, chunk, sizeof(chunk), 0);
            if (got <= 0) return false;
            text.append(chunk, static_cast<size_t>(got));
            const size_t end = text.find("\r\n\r\n");
            const size_t length = text.find("Content-Length: ");
            if (end != std::string::npos && length != std::string::npos)
                need = end + 4 + std::stoul(text.substr(length + 16));
        }
        return true;
    }

    std::function<Reply(int, int)> m_script;
    UniqueSocket m_listener;
    unsigned short m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_requests{0};
    std::thread m_thread;
};

ServiceAddress Loopback(unsigned short port) {
    ServiceAddress address;
    EXPECT_TRUE(ParseServiceAddress("http://127.0.0.1:" + std::to_string(port) + "/http-bind", address));
    return address;
}

TEST(DirectHttp, AConnectionCarriesRequestAfterRequestAndIsReplacedWhenTheServerDropsIt) {
    const struct {
        const char* name;
        std::function<Reply(int, int)> script;
        int connections;
        int requests;  // as the server read them: one sent again counts twice
    } cases[] = {
        {"kept", [](int, int) { return Reply::Answer; }, 1, 3},
        {"closed after each answer", [](int, int request) { return request == 0 ? Reply::Answer : Reply::CloseUnanswered; },
         3, 5},
        {"dropped with the second request unanswered",
         [](int connection, int request) { return connection == 0 && request == 1 ? Reply::CloseUnanswered : Reply::Answer; },
         2, 4},
    };
    for (const auto& c : cases) {
        ScriptedServer server(c.script);
        CHttpTransport http;
        ASSERT_EQ(0u, http.Open(Loopback(server.Port()), {})) << c.name;
        for (int i = 0; i < 3; ++i) {
            const HttpResult result = http.Post("<body/>", 5000);
            EXPECT_EQ(0u, result.error) << c.name << " request " << i;
            EXPECT_EQ(200u, result.status) << c.name << " request " << i;
            EXPECT_NE(std::string::npos, result.body.find("<body n=")) << c.name << " request " << i;
        }
        EXPECT_EQ(c.connections, server.Connections()) << c.name;
        EXPECT_EQ(c.requests, server.Requests()) << c.name;
    }
}

TEST(DirectHttp, AbortCutsAHeldRequestShort) {
    ScriptedServer server([](int, int) { return Reply::Hold; });
    CHttpTransport http;
    ASSERT_EQ(0u, http.Open(Loopback(server.Port()), {}));
    std::thread abort([&] {
        while (server.Requests() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        http.Abort();
    });
    const auto start = std::chrono::steady_clock::now();
    const HttpResult result = http.Post("<body/>", 30000);
    abort.join();
    EXPECT_EQ(static_cast<DWORD>(ERROR_WINHTTP_OPERATION_CANCELLED), result.error);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(static_cast<DWORD>(ERROR_WINHTTP_OPERATION_CANCELLED), http.Post("<body/>", 1000).error)
        << "nothing goes out after Abort";
}
}  // namespace
