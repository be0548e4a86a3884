#include "bosh/HttpTransport.h"

#include <vector>

#include "Utf8.h"
#include "bosh/DirectHttp.h"

namespace bosh {
namespace {
constexpr wchar_t kDefaultUserAgent[] = L"QuillkitBosh/1.0";
constexpr char kDefaultUserAgentText[] = "QuillkitBosh/1.0";

// A proxy set for WinHTTP (netsh winhttp set proxy) must be honoured, which
// only WinHTTP knows how to do.
bool SystemProxySet() {
    WINHTTP_PROXY_INFO info{};
    if (!::WinHttpGetDefaultProxyConfiguration(&info)) return false;
    if (info.lpszProxy) ::GlobalFree(info.lpszProxy);
    if (info.lpszProxyBypass) ::GlobalFree(info.lpszProxyBypass);
    return info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY;
}
}  // namespace

bool ParseServiceAddress(std::string_view address, ServiceAddress& out) {
    bool haveScheme = false;
    if (address.rfind("https://", 0) == 0) {
        out.secure = true;
        haveScheme = true;
        address.remove_prefix(8);
    } else if (address.rfind("http://", 0) == 0) {
        out.secure = false;
        haveScheme = true;
        address.remove_prefix(7);
    }
    const size_t slash = address.find('/');
    const std::string_view authority = address.substr(0, slash);
    const std::string_view path = slash == std::string_view::npos ? std::string_view("/") : address.substr(slash);
    const size_t colon = authority.rfind(':');
    const bool bracketed = !authority.empty() && authority.front() == '[';
    std::string_view host = authority;
    unsigned long port = 0;
    if (colon != std::string_view::npos && (!bracketed || authority.find(']') < colon)) {
        host = authority.substr(0, colon);
        const std::string_view digits = authority.substr(colon + 1);
        if (digits.empty() || digits.size() > 5) return false;
        for (char d : digits) {
            if (d < '0' || d > '9') return false;
            port = port * 10 + static_cast<unsigned long>(d - '0');
        }
        if (port == 0 || port > 65535) return false;
    }
    if (bracketed && host.size() > 2 && host.back() == ']') host = host.substr(1, host.size() - 2);
    if (host.empty() || host.find_first_of(" \t\r\n@") != std::string_view::npos) return false;
    if (!haveScheme) out.secure = port == 0 || port == 443;
    out.host = FromUtf8(host);
    out.port = static_cast<INTERNET_PORT>(port ? port : (out.secure ? 443 : 80));
    out.path = FromUtf8(path);
    return true;
}

CHttpTransport::CHttpTransport() = default;

CHttpTransport::~CHttpTransport() { Abort(); }

DWORD CHttpTransport::Open(const ServiceAddress& address, const HttpOptions& options) {
    if (!address.secure && options.proxy.empty() && !SystemProxySet()) {
        m_direct = std::make_unique<CDirectHttp>();
        return m_direct->Open(address, options.userAgent.empty() ? kDefaultUserAgentText : options.userAgent);
    }
    const std::wstring agent = options.userAgent.empty() ? kDefaultUserAgent : FromUtf8(options.userAgent);
    const std::wstring proxy = FromUtf8(options.proxy);
    const std::wstring bypass = FromUtf8(options.proxyBypass);
    if (proxy.empty()) {
        m_session.reset(::WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0));
    } else {
        m_session.reset(::WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.c_str(),
                                      bypass.empty() ? WINHTTP_NO_PROXY_BYPASS : bypass.c_str(), 0));
    }
    if (!m_session) return ::GetLastError();
    m_connection.reset(::WinHttpConnect(m_session.get(), address.host.c_str(), address.port, 0));
    if (!m_connection) return ::GetLastError();
    m_address = address;
    return 0;
}

bool CHttpTransport::Track(HINTERNET request) {
    std::lock_guard lock(m_lock);
    if (m_aborted) return false;
    m_inFlight.insert(request);
    return true;
}

bool CHttpTransport::Untrack(HINTERNET request) {
    std::lock_guard lock(m_lock);
    return m_inFlight.erase(request) != 0;
}

void CHttpTransport::Abort() {
    if (m_direct) m_direct->Abort();
    std::lock_guard lock(m_lock);
    m_aborted = true;
    // Closing a request handle is how a blocked synchronous WinHTTP call is cut short.
    for (HINTERNET request : m_inFlight) ::WinHttpCloseHandle(request);
    m_inFlight.clear();
}

HttpResult CHttpTransport::Post(std::string_view body, DWORD timeoutMs) {
    return m_direct ? m_direct->Post(body, timeoutMs) : PostWinHttp(body, timeoutMs);
}

HttpResult CHttpTransport::PostWinHttp(std::string_view body, DWORD timeoutMs) {
    HttpResult result;
    if (!m_connection) {
        result.error = ERROR_INVALID_HANDLE;
        return result;
    }
    HINTERNET request = ::WinHttpOpenRequest(m_connection.get(), L"POST", m_address.path.c_str(), nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             m_address.secure ? WINHTTP_FLAG_SECURE : 0);
    if (!request) {
        result.error = ::GetLastError();
        return result;
    }
    if (!Track(request)) {
        ::WinHttpCloseHandle(request);
        result.error = ERROR_WINHTTP_OPERATION_CANCELLED;
        return result;
    }
    // Reaching the server is quick or hopeless; only the answer may take long.
    const int receive = static_cast<int>(timeoutMs);
    const int connect = static_cast<int>(timeoutMs < kConnectTimeoutMs ? timeoutMs : kConnectTimeoutMs);
    ::WinHttpSetTimeouts(request, connect, connect, connect, receive);
    // Over plain HTTP (through a proxy) every request gets a connection of its
    // own. The platform may write the request's head and its body separately,
    // and on a kept-alive connection the body then waits for the server's
    // delayed acknowledgement of the head, some 40 ms a request. A new
    // connection acknowledges at once; over TLS the handshake would cost more
    // than the wait.
    static const wchar_t kHeaders[] = L"Content-Type: text/xml; charset=utf-8\r\n";
    static const wchar_t kClosingHeaders[] = L"Content-Type: text/xml; charset=utf-8\r\nConnection: close\r\n";
    const auto length = static_cast<DWORD>(body.size());
    DWORD status = 0;
    DWORD statusSize = sizeof(status);
    if (!::WinHttpSendRequest(request, m_address.secure ? kHeaders : kClosingHeaders, static_cast<DWORD>(-1),
                              const_cast<char*>(body.data()), length,
                              length, 0) ||
        !::WinHttpReceiveResponse(request, nullptr) ||
        !::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                               WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX)) {
        result.error = ::GetLastError();
    } else {
        result.status = status;
        std::vector<char> chunk(16384);
        for (;;) {
            DWORD read = 0;
            if (!::WinHttpReadData(request, chunk.data(), static_cast<DWORD>(chunk.size()), &read)) {
                result.error = ::GetLastError();
                break;
            }
            if (read == 0) break;
            result.body.append(chunk.data(), read);
            if (result.body.size() > kMaxResponseBytes) {
                result.error = ERROR_WINHTTP_INVALID_SERVER_RESPONSE;
                break;
            }
        }
    }
    if (Untrack(request)) {
        ::WinHttpCloseHandle(request);
    } else if (result.error == 0) {
        // Aborted after the last byte came: the caller is going away all the same.
        result.error = ERROR_WINHTTP_OPERATION_CANCELLED;
    }
    return result;
}

}  // namespace bosh
