#include "bosh/SocketConnection.h"

#include <winhttp.h>

#include <algorithm>

namespace bosh {
namespace {
using UniqueAddressInfo = UniqueHandle<handle_traits::Simple<ADDRINFOW*, nullptr, ::FreeAddrInfoW>>;

constexpr size_t kReadChunk = 16384;

DWORD Remaining(ULONGLONG deadline) {
    const ULONGLONG now = ::GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, INFINITE - 1));
}
}  // namespace

DWORD CSocketConnection::WaitForEvent(HANDLE abort, ULONGLONG deadline) const {
    const HANDLE handles[] = {abort, m_event.get()};
    switch (::WaitForMultipleObjects(2, handles, FALSE, Remaining(deadline))) {
    case WAIT_OBJECT_0: return ERROR_WINHTTP_OPERATION_CANCELLED;
    case WAIT_OBJECT_0 + 1: {
        // Resets the event; the next call that finds nothing re-arms it.
        WSANETWORKEVENTS events{};
        ::WSAEnumNetworkEvents(m_socket.get(), m_event.get(), &events);
        return 0;
    }
    case WAIT_TIMEOUT: return ERROR_WINHTTP_TIMEOUT;
    default: return ::GetLastError();
    }
}

DWORD CSocketConnection::ConnectTo(const ADDRINFOW& address, HANDLE abort, ULONGLONG deadline) {
    m_socket.reset(::WSASocketW(address.ai_family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_OVERLAPPED));
    if (!m_socket) return static_cast<DWORD>(::WSAGetLastError());
    const BOOL noDelay = TRUE;
    ::setsockopt(m_socket.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof(noDelay));
    if (!m_event) m_event.reset(::WSACreateEvent());
    if (!m_event) return static_cast<DWORD>(::WSAGetLastError());
    // Makes the socket non-blocking: every wait goes through WaitForEvent.
    if (::WSAEventSelect(m_socket.get(), m_event.get(), FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0)
        return static_cast<DWORD>(::WSAGetLastError());
    if (::connect(m_socket.get(), address.ai_addr, static_cast<int>(address.ai_addrlen)) == 0) return 0;
    if (::WSAGetLastError() != WSAEWOULDBLOCK) return ERROR_WINHTTP_CANNOT_CONNECT;
    for (;;) {
        const HANDLE handles[] = {abort, m_event.get()};
        const DWORD wait = ::WaitForMultipleObjects(2, handles, FALSE, Remaining(deadline));
        if (wait == WAIT_OBJECT_0) return ERROR_WINHTTP_OPERATION_CANCELLED;
        if (wait == WAIT_TIMEOUT) return ERROR_WINHTTP_TIMEOUT;
        if (wait != WAIT_OBJECT_0 + 1) return ::GetLastError();
        WSANETWORKEVENTS events{};
        if (::WSAEnumNetworkEvents(m_socket.get(), m_event.get(), &events) != 0)
            return static_cast<DWORD>(::WSAGetLastError());
        if (events.lNetworkEvents & FD_CONNECT)
            return events.iErrorCode[FD_CONNECT_BIT] == 0 ? 0 : ERROR_WINHTTP_CANNOT_CONNECT;
    }
}

DWORD CSocketConnection::Connect(const std::wstring& host, unsigned short port, HANDLE abort, ULONGLONG deadline) {
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    UniqueAddressInfo addresses;
    if (::GetAddrInfoW(host.c_str(), std::to_wstring(port).c_str(), &hints, addresses.receive()) != 0 || !addresses)
        return ERROR_WINHTTP_NAME_NOT_RESOLVED;
    DWORD error = ERROR_WINHTTP_CANNOT_CONNECT;
    for (const ADDRINFOW* address = addresses.get(); address; address = address->ai_next) {
        error = ConnectTo(*address, abort, deadline);
        if (error == 0 || error == ERROR_WINHTTP_OPERATION_CANCELLED || error == ERROR_WINHTTP_TIMEOUT) break;
    }
    if (error != 0) m_socket.reset();
    return error;
}

DWORD CSocketConnection::Exchange(std::string_view request, CHttpResponseReader& reader, HANDLE abort,
                                  ULONGLONG deadline) {
    if (!m_socket) return ERROR_INVALID_HANDLE;
    while (!request.empty()) {
        const int sent = ::send(m_socket.get(), request.data(), static_cast<int>(request.size()), 0);
        if (sent > 0) {
            request.remove_prefix(static_cast<size_t>(sent));
            continue;
        }
        if (::WSAGetLastError() != WSAEWOULDBLOCK) return ERROR_WINHTTP_CONNECTION_ERROR;
        if (const DWORD error = WaitForEvent(abort, deadline)) return error;
    }
    std::string chunk(kReadChunk, '\0');
    for (;;) {
        const int got = ::recv(m_socket.get(), chunk.data(), static_cast<int>(chunk.size()), 0);
        CHttpResponseReader::State state;
        if (got > 0) {
            state = reader.Feed(std::string_view(chunk.data(), static_cast<size_t>(got)));
        } else if (got == 0) {
            state = reader.Closed();
        } else if (::WSAGetLastError() == WSAEWOULDBLOCK) {
            if (const DWORD error = WaitForEvent(abort, deadline)) return error;
            continue;
        } else {
            return ERROR_WINHTTP_CONNECTION_ERROR;
        }
        if (state == CHttpResponseReader::State::Done) return 0;
        if (state == CHttpResponseReader::State::Failed)
            return reader.Started() ? ERROR_WINHTTP_INVALID_SERVER_RESPONSE : ERROR_WINHTTP_CONNECTION_ERROR;
    }
}

bool CSocketConnection::StillUsable() const {
    if (!m_socket) return false;
    char byte = 0;
    // Non-blocking: "would block" means open and quiet, which is what we want.
    const int got = ::recv(m_socket.get(), &byte, 1, MSG_PEEK);
    return got < 0 && ::WSAGetLastError() == WSAEWOULDBLOCK;
}

}  // namespace bosh
