#include "bosh/HttpResponseReader.h"

#include <algorithm>
#include <cctype>

namespace bosh {
namespace {
// A BOSH server's head is a few hundred bytes; far more is not one.
constexpr size_t kMaxHeadBytes = 64 * 1024;

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// True when the comma-separated list holds `token`.
bool HasToken(std::string_view list, std::string_view token) {
    while (!list.empty()) {
        const size_t comma = list.find(',');
        if (EqualsNoCase(Trim(list.substr(0, comma)), token)) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

bool ParseDecimal(std::string_view text, unsigned long long& value) {
    text = Trim(text);
    if (text.empty() || text.size() > 15) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return true;
}

bool ParseHex(std::string_view text, unsigned long long& value) {
    text = Trim(text.substr(0, text.find(';')));
    if (text.empty() || text.size() > 15) return false;
    value = 0;
    for (char c : text) {
        const int digit = c >= '0' && c <= '9' ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}
}  // namespace

void CHttpResponseReader::Append(std::string_view bytes) { m_body.append(bytes.data(), bytes.size()); }

bool CHttpResponseReader::ParseHead(std::string_view head) {
    const size_t lineEnd = head.find("\r\n");
    const std::string_view statusLine = head.substr(0, lineEnd);
    if (statusLine.size() < 12 || statusLine.substr(0, 7) != "HTTP/1." || statusLine[8] != ' ') return false;
    const bool http10 = statusLine[7] == '0';
    unsigned long long status = 0;
    if (!ParseDecimal(statusLine.substr(9, 3), status) || status < 100) return false;
    m_status = static_cast<unsigned>(status);
    bool haveLength = false;
    bool chunked = false;
    bool sawClose = false;
    bool sawKeepAlive = false;
    unsigned long long length = 0;
    std::string_view rest = lineEnd == std::string_view::npos ? std::string_view() : head.substr(lineEnd + 2);
    while (!rest.empty()) {
        const size_t end = rest.find("\r\n");
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos) return false;
        const std::string_view name = line.substr(0, colon);
        const std::string_view value = Trim(line.substr(colon + 1));
        if (EqualsNoCase(name, "Content-Length")) {
            unsigned long long parsed = 0;
            // Two different lengths leave the end of the body in doubt.
            if (!ParseDecimal(value, parsed) || (haveLength && parsed != length)) return false;
            haveLength = true;
            length = parsed;
        } else if (EqualsNoCase(name, "Transfer-Encoding")) {
            chunked = HasToken(value, "chunked");
        } else if (EqualsNoCase(name, "Connection")) {
            sawClose = sawClose || HasToken(value, "close");
            sawKeepAlive = sawKeepAlive || HasToken(value, "keep-alive");
        }
    }
    m_keepAlive = !sawClose && (!http10 || sawKeepAlive);
    if (m_status == 204 || m_status == 304) {
        m_state = State::Done;
    } else if (chunked) {
        m_state = State::Chunked;
    } else if (haveLength) {
        if (length > m_maxBody) return false;
        m_remaining = length;
        m_state = length == 0 ? State::Done : State::Body;
    } else {
        m_keepAlive = false;
        m_state = State::UntilClose;
    }
    return true;
}

bool CHttpResponseReader::PumpChunks() {
    for (;;) {
        if (m_inChunk) {
            const size_t take = static_cast<size_t>(std::min<unsigned long long>(m_remaining, m_buffer.size()));
            Append(std::string_view(m_buffer).substr(0, take));
            m_buffer.erase(0, take);
            m_remaining -= take;
            if (m_remaining != 0) return true;
            if (m_buffer.size() < 2) return true;
            if (m_buffer.compare(0, 2, "\r\n") != 0) return false;
            m_buffer.erase(0, 2);
            m_inChunk = false;
            continue;
        }
        const size_t end = m_buffer.find("\r\n");
        if (end == std::string::npos) return m_buffer.size() <= kMaxHeadBytes;
        const std::string line = m_buffer.substr(0, end);
        m_buffer.erase(0, end + 2);
        if (m_trailers) {
            if (line.empty()) {
                m_state = State::Done;
                return true;
            }
            continue;
        }
        unsigned long long size = 0;
        if (!ParseHex(line, size)) return false;
        if (size == 0) {
            m_trailers = true;
            continue;
        }
        if (size > m_maxBody - m_body.size()) return false;
        m_remaining = size;
        m_inChunk = true;
    }
}

bool CHttpResponseReader::Pump() {
    for (;;) {
        switch (m_state) {
        case State::Head: {
            const size_t end = m_buffer.find("\r\n\r\n");
            if (end == std::string::npos) return m_buffer.size() <= kMaxHeadBytes;
            const std::string head = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 4);
            if (!ParseHead(head)) return false;
            // An interim answer (100 Continue) is followed by the real one.
            if (m_status < 200) {
                m_state = State::Head;
                m_keepAlive = true;
            }
            continue;
        }
        case State::Body: {
            const size_t take = static_cast<size_t>(std::min<unsigned long long>(m_remaining, m_buffer.size()));
            Append(std::string_view(m_buffer).substr(0, take));
            m_buffer.erase(0, take);
            m_remaining -= take;
            if (m_remaining != 0) return true;
            m_state = State::Done;
            continue;
        }
        case State::Chunked:
            if (!PumpChunks()) return false;
            if (m_state == State::Chunked) return true;
            continue;
        case State::UntilClose:
            if (m_body.size() + m_buffer.size() > m_maxBody) return false;
            Append(m_buffer);
            m_buffer.clear();
            return true;
        case State::Done:
            // Bytes nobody asked for: the answer stands, the connection does not.
            if (!m_buffer.empty()) m_keepAlive = false;
            return true;
        case State::Failed:
            return false;
        }
    }
}

CHttpResponseReader::State CHttpResponseReader::Feed(std::string_view bytes) {
    if (m_state == State::Failed) return m_state;
    if (!bytes.empty()) m_started = true;
    m_buffer.append(bytes.data(), bytes.size());
    if (!Pump()) return Fail();
    return m_state;
}

CHttpResponseReader::State CHttpResponseReader::Closed() {
    m_keepAlive = false;
    if (m_state == State::UntilClose) return m_state = State::Done;
    if (m_state != State::Done) return Fail();
    return m_state;
}

}  // namespace bosh
