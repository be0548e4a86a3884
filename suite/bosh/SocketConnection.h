#pragma once
// One kept-alive HTTP connection over Winsock. The whole request (head and
// body) goes out in one send with Nagle's algorithm off, so the server never
// sits on half a request waiting to acknowledge it. Every wait also watches
// the transport's abort event, so a held long poll can be cut from any thread
// without closing a socket another thread is using.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "UniqueHandle.h"
#include "bosh/HttpResponseReader.h"

namespace bosh {

using UniqueSocket = UniqueHandle<handle_traits::Simple<SOCKET, INVALID_SOCKET, ::closesocket>>;
using UniqueWsaEvent = UniqueHandle<handle_traits::Simple<WSAEVENT, WSA_INVALID_EVENT, ::WSACloseEvent>>;

class CSocketConnection {
public:
    CSocketConnection() = default;
    CSocketConnection(const CSocketConnection&) = delete;
    CSocketConnection& operator=(const CSocketConnection&) = delete;

    // Connects to the first of `host`'s addresses that answers before
    // `deadline` (a GetTickCount64 value). 0 or the error.
    DWORD Connect(const std::wstring& host, unsigned short port, HANDLE abort, ULONGLONG deadline);
    // Writes `request` and reads its response into `reader`. 0 when the
    // response is complete, else the error.
    DWORD Exchange(std::string_view request, CHttpResponseReader& reader, HANDLE abort, ULONGLONG deadline);
    // An idle connection the server has closed (or sent something unasked on)
    // must not carry the next request.
    [[nodiscard]] bool StillUsable() const;

private:
    DWORD ConnectTo(const ADDRINFOW& address, HANDLE abort, ULONGLONG deadline);
    // Waits for the socket's next network event; 0, or the time-out or
    // cancellation error.
    DWORD WaitForEvent(HANDLE abort, ULONGLONG deadline) const;

    UniqueSocket m_socket;
    UniqueWsaEvent m_event;
};

}  // namespace bosh
