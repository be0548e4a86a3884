#pragma once
// HTTP POSTs to one BOSH service. Requests are synchronous and may run on
// several threads at once, each on a connection of its own; Abort cuts every
// request in flight, so a held long poll never keeps a caller waiting.
// A plain-HTTP service reached without a proxy gets kept-alive connections of
// our own (see DirectHttp.h); TLS and proxies go through WinHTTP.
#include <winsock2.h>
#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "UniqueHandle.h"

namespace bosh {

using UniqueInternet = UniqueHandle<handle_traits::Simple<HINTERNET, nullptr, ::WinHttpCloseHandle>>;

struct ServiceAddress {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path;
    bool secure = false;
};

// "host[:port]/path", optionally after "http://" or "https://". Without a
// scheme, port 443 or no port at all means https, any other port plain http.
bool ParseServiceAddress(std::string_view address, ServiceAddress& out);

// A BOSH body is a handful of stanzas; anything far larger is not a BOSH service.
inline constexpr size_t kMaxResponseBytes = 8u << 20;
// The longest wait to reach the server; only an answer may take long.
inline constexpr DWORD kConnectTimeoutMs = 15000;

struct HttpOptions {
    std::string proxy;        // empty: the system's setting
    std::string proxyBypass;
    std::string userAgent;    // empty: the library's own
};

struct HttpResult {
    DWORD error = 0;   // Win32 or WinHTTP error; 0 when a response came
    DWORD status = 0;  // HTTP status of the response
    std::string body;
    [[nodiscard]] bool ok() const noexcept { return error == 0 && status == 200; }
};

class CDirectHttp;

class CHttpTransport {
public:
    CHttpTransport();
    CHttpTransport(const CHttpTransport&) = delete;
    CHttpTransport& operator=(const CHttpTransport&) = delete;
    ~CHttpTransport();

    // The Win32 error when the session or connection cannot be set up.
    DWORD Open(const ServiceAddress& address, const HttpOptions& options);
    // Blocks until the response is read, `timeoutMs` passes or Abort is called.
    HttpResult Post(std::string_view body, DWORD timeoutMs);
    // Ends every request in flight and refuses later ones.
    void Abort();

private:
    HttpResult PostWinHttp(std::string_view body, DWORD timeoutMs);
    bool Track(HINTERNET request);
    // True when the request was still tracked (Abort has not closed it).
    bool Untrack(HINTERNET request);

    UniqueInternet m_session;
    UniqueInternet m_connection;
    ServiceAddress m_address;
    std::mutex m_lock;
    std::set<HINTERNET> m_inFlight;
    bool m_aborted = false;
    std::unique_ptr<CDirectHttp> m_direct;  // set when the service is reached directly
};

}  // namespace bosh
