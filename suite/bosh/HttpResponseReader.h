#pragma once
// Reads one HTTP/1.1 response as it arrives in pieces: the status line, the
// headers that say where the body ends (Content-Length, chunked, or the end of
// the connection) and whether the connection may carry the next request.
#include <cstddef>
#include <string>
#include <string_view>

namespace bosh {

class CHttpResponseReader {
public:
    enum class State { Head, Body, Chunked, UntilClose, Done, Failed };

    explicit CHttpResponseReader(size_t maxBodyBytes) noexcept : m_maxBody(maxBodyBytes) {}

    // Takes the next bytes; returns the state after them. Bytes beyond the
    // end of the response are a protocol fault (nothing was asked for yet).
    State Feed(std::string_view bytes);
    // The connection ended. A response that runs until the close is then
    // complete; any other unfinished one has failed.
    State Closed();

    [[nodiscard]] State Current() const noexcept { return m_state; }
    [[nodiscard]] unsigned Status() const noexcept { return m_status; }
    [[nodiscard]] bool KeepAlive() const noexcept { return m_keepAlive; }
    [[nodiscard]] bool Started() const noexcept { return m_started; }
    std::string& Body() noexcept { return m_body; }

private:
    bool ParseHead(std::string_view head);
    // Advances through whatever is buffered; false on a fault.
    bool Pump();
    bool PumpChunks();
    State Fail() noexcept { return m_state = State::Failed; }
    void Append(std::string_view bytes);

    size_t m_maxBody;
    State m_state = State::Head;
    std::string m_buffer;  // head or chunk framing not yet understood
    std::string m_body;
    unsigned m_status = 0;
    unsigned long long m_remaining = 0;  // of the body or of the current chunk
    bool m_inChunk = false;              // reading a chunk's data, then its CRLF
    bool m_trailers = false;             // after the last chunk
    bool m_keepAlive = true;
    bool m_started = false;  // any byte came
};

}  // namespace bosh
