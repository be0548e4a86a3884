#pragma once
// POSTs to a plain-HTTP BOSH service reached without a proxy, over kept-alive
// Winsock connections: a request takes an idle connection or opens one, and
// gives it back once its response is read whole. Requests may run on several
// threads at once; Abort cuts every one in flight.
#include <winsock2.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "UniqueHandle.h"
#include "bosh/HttpTransport.h"
#include "bosh/SocketConnection.h"

namespace bosh {

class CDirectHttp {
public:
    CDirectHttp() = default;
    CDirectHttp(const CDirectHttp&) = delete;
    CDirectHttp& operator=(const CDirectHttp&) = delete;
    ~CDirectHttp();

    DWORD Open(const ServiceAddress& address, const std::string& userAgent);
    HttpResult Post(std::string_view body, DWORD timeoutMs);
    void Abort();

private:
    std::unique_ptr<CSocketConnection> TakeIdle();
    void GiveBack(std::unique_ptr<CSocketConnection> connection);

    bool m_winsockStarted = false;
    UniqueKernelHandle m_abort;
    ServiceAddress m_address;
    std::string m_head;  // the request up to the body's length
    std::mutex m_lock;
    std::vector<std::unique_ptr<CSocketConnection>> m_idle;
};

}  // namespace bosh
