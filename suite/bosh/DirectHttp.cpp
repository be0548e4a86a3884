#include "bosh/DirectHttp.h"

#include <winhttp.h>

#include "Utf8.h"

namespace bosh {

CDirectHttp::~CDirectHttp() {
    m_idle.clear();
    if (m_winsockStarted) ::WSACleanup();
}

DWORD CDirectHttp::Open(const ServiceAddress& address, const std::string& userAgent) {
    WSADATA data{};
    if (const int error = ::WSAStartup(MAKEWORD(2, 2), &data)) return static_cast<DWORD>(error);
    m_winsockStarted = true;
    m_abort.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_abort) return ::GetLastError();
    m_address = address;
    std::string host = ToUtf8(address.host);
    if (host.find(':') != std::string::npos) host = "[" + host + "]";
    if (address.port != 80) host += ":" + std::to_string(address.port);
    m_head = "POST " + ToUtf8(address.path) + " HTTP/1.1\r\nHost: " + host + "\r\nUser-Agent: " + userAgent +
             "\r\nContent-Type: text/xml; charset=utf-8\r\nContent-Length: ";
    return 0;
}

void CDirectHttp::Abort() {
    std::lock_guard lock(m_lock);
    if (m_abort) ::SetEvent(m_abort.get());
}

std::unique_ptr<CSocketConnection> CDirectHttp::TakeIdle() {
    std::lock_guard lock(m_lock);
    while (!m_idle.empty()) {
        std::unique_ptr<CSocketConnection> connection = std::move(m_idle.back());
        m_idle.pop_back();
        if (connection->StillUsable()) return connection;
    }
    return nullptr;
}

void CDirectHttp::GiveBack(std::unique_ptr<CSocketConnection> connection) {
    std::lock_guard lock(m_lock);
    m_idle.push_back(std::move(connection));
}

HttpResult CDirectHttp::Post(std::string_view body, DWORD timeoutMs) {
    HttpResult result;
    if (!m_abort) {
        result.error = ERROR_INVALID_HANDLE;
        return result;
    }
    if (::WaitForSingleObject(m_abort.get(), 0) == WAIT_OBJECT_0) {
        result.error = ERROR_WINHTTP_OPERATION_CANCELLED;
        return result;
    }
    const ULONGLONG start = ::GetTickCount64();
    const ULONGLONG deadline = start + timeoutMs;
    const ULONGLONG connectDeadline = start + (timeoutMs < kConnectTimeoutMs ? timeoutMs : kConnectTimeoutMs);
    std::string request = m_head + std::to_string(body.size()) + "\r\n\r\n";
    request.append(body.data(), body.size());
    for (;;) {
        std::unique_ptr<CSocketConnection> connection = TakeIdle();
        const bool reused = connection != nullptr;
        if (!connection) {
            connection = std::make_unique<CSocketConnection>();
            if (const DWORD error = connection->Connect(m_address.host, m_address.port, m_abort.get(), connectDeadline)) {
                result.error = error;
                return result;
            }
        }
        CHttpResponseReader reader(kMaxResponseBytes);
        const DWORD error = connection->Exchange(request, reader, m_abort.get(), deadline);
        if (error == 0) {
            result.status = reader.Status();
            result.body = std::move(reader.Body());
            if (reader.KeepAlive()) GiveBack(std::move(connection));
            return result;
        }
        // A kept-alive connection the server let go of before it read the
        // request: the request goes again on a fresh one.
        if (reused && !reader.Started() && error == ERROR_WINHTTP_CONNECTION_ERROR) continue;
        result.error = error;
        return result;
    }
}

}  // namespace bosh
