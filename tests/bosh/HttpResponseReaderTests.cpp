// The response reader of the kept-alive connections: where a body ends and
// whether the connection may carry the next request, whatever pieces the
// bytes come in.
#include <gtest/gtest.h>

#include <string>

#include "bosh/HttpResponseReader.h"

namespace {
using bosh::CHttpResponseReader;
using State = CHttpResponseReader::State;

constexpr size_t kMaxBody = 64;

struct Outcome {
    State state;
    unsigned status;
    std::string body;
    bool keepAlive;
};

// Feeds the whole text at once or one byte at a time, then the close if asked.
Outcome Read(const std::string& text, bool byteByByte, bool close) {
    CHttpResponseReader reader(kMaxBody);
    State state = State::Head;
    if (byteByByte) {
        for (char c : text) state = reader.Feed(std::string_view(&c, 1));
    } else {
        state = reader.Feed(text);
    }
    if (close) state = reader.Closed();
    return {state, reader.Status(), reader.Body(), reader.KeepAlive()};
}

TEST(HttpResponseReader, FindsTheEndOfTheBodyAndWhetherTheConnectionStays) {
    const struct {
        const char* name;
        std::string text;
        bool close;
        State state;
        unsigned status;
        std::string body;
        bool keepAlive;
    } cases[] = {
        {"length", "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\ncontent-length: 7\r\n\r\n<body/>", false, State::Done,
         200, "<body/>", true},
        {"empty body", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false, State::Done, 200, "", true},
        {"length not yet reached", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n<body/>", false, State::Body, 200,
         "<body/>", true},
        {"closed before the length", "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n<body/>", true, State::Failed, 200,
         "<body/>", false},
        {"chunked with extension and trailer",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n3;x=y\r\n<bo\r\n4\r\ndy/>\r\n0\r\nX-T: 1\r\n\r\n",
         false, State::Done, 200, "<body/>", true},
        {"chunk without its line end", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\n<boXX", false,
         State::Failed, 200, "<bo", true},
        {"chunk size not hex", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n", false, State::Failed, 200,
         "", true},
        {"server closes after answering", "HTTP/1.1 200 OK\r\nConnection: Close\r\nContent-Length: 2\r\n\r\nok", false,
         State::Done, 200, "ok", false},
        {"1.0 closes by default", "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok", false, State::Done, 200, "ok",
         false},
        {"1.0 asked to stay", "HTTP/1.0 200 OK\r\nConnection: keep-alive\r\nContent-Length: 2\r\n\r\nok", false,
         State::Done, 200, "ok", true},
        {"no length runs to the close", "HTTP/1.1 200 OK\r\n\r\n<body/>", true, State::Done, 200, "<body/>", false},
        {"interim answer first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 404 Not Found\r\nContent-Length: 1\r\n\r\nx",
         false, State::Done, 404, "x", true},
        {"bytes beyond the response", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nokHTTP", false, State::Done, 200,
         "ok", false},
        {"two lengths", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nContent-Length: 3\r\n\r\nok", false, State::Failed, 200,
         "", true},
        {"length beyond the limit", "HTTP/1.1 200 OK\r\nContent-Length: 65\r\n\r\n", false, State::Failed, 200, "",
         true},
        {"chunks beyond the limit",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n20\r\n" + std::string(32, 'a') + "\r\n21\r\n", false,
         State::Failed, 200, std::string(32, 'a'), true},
        {"not HTTP", "SSH-2.0-OpenSSH\r\n\r\n", false, State::Failed, 0, "", true},
        {"closed before any byte", "", true, State::Failed, 0, "", false},
    };
    for (const auto& c : cases) {
        for (bool byteByByte : {false, true}) {
            const Outcome outcome = Read(c.text, byteByByte, c.close);
            const std::string where = std::string(c.name) + (byteByByte ? " (byte by byte)" : "");
            EXPECT_EQ(c.state, outcome.state) << where;
            EXPECT_EQ(c.status, outcome.status) << where;
            EXPECT_EQ(c.body, outcome.body) << where;
            if (c.state == State::Done) {
                EXPECT_EQ(c.keepAlive, outcome.keepAlive) << where;
            }
        }
    }
}
}  // namespace
