#pragma once
// One BOSH session (XEP-0124 with the XMPP bindings of XEP-0206): creation,
// request ids, and the requests in flight. Up to `requests` requests (two with
// hold 1) are outstanding at once, each on a pool thread and a connection of
// its own, so a stanza queued while the server holds a poll leaves at once on
// the second connection. Answers are taken in request-id order whatever order they come in.
//
// The requests share the transport and the answers with the session rather
// than borrow them: a session that ends does not wait for a request still on
// its way out. Such a request keeps the library loaded until it returns.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "bosh/HttpTransport.h"
#include "bosh/MiniXml.h"

namespace bosh {

// A reason for a session to end: a BOSHError code and its detail. code < 0: none.
struct Fault {
    int code = -1;
    int detail = 0;
    explicit operator bool() const noexcept { return code >= 0; }
};

class CBoshSession {
public:
    CBoshSession() = default;
    CBoshSession(const CBoshSession&) = delete;
    CBoshSession& operator=(const CBoshSession&) = delete;
    ~CBoshSession();

    // Creates the session at the service; blocks until the answer (or until
    // `stop` is set and Wake is called). Faults: kConnectFailed when the
    // service cannot be reached or refuses, kProtocolError for an answer that
    // is not a session, kSignedOff when stopped.
    Fault Create(const ServiceAddress& address, const HttpOptions& options, const std::string& domain, int hold,
                 const std::atomic<bool>& stop);

    // Any thread: stanzas for the next request.
    void Queue(std::string stanzas);
    // The stream restart after authentication (an empty request of its own).
    void QueueRestart();
    // The last request: carries `stanzas`, ends the session.
    void QueueTerminate(std::string stanzas);
    // Any thread: makes a waiting Next return.
    void Wake();

    // Sends what may go now and takes the next stanza that arrived, waiting up to
    // `timeoutMs` for one. Returns with `stanza` empty on time-out or Wake. Faults:
    // kConnectionLost when a request fails or the server ends the session,
    // kSignedOff once the terminate request has been answered.
    Fault Next(std::unique_ptr<XmlElement>& stanza, DWORD timeoutMs);

    [[nodiscard]] int WaitSeconds() const noexcept { return m_wait; }

private:
    struct Outgoing {
        std::string stanzas;
        bool restart = false;
        bool terminate = false;
    };
    // What the request threads use.
    struct Shared {
        CHttpTransport http;
        std::mutex lock;
        std::condition_variable changed;
        std::map<unsigned long long, HttpResult> answers;  // by request id, not yet taken
        int busy = 0;                                      // requests in flight
    };
    struct Request;
    static void CALLBACK RunRequest(PTP_CALLBACK_INSTANCE instance, void* request);

    void Push(Outgoing outgoing);
    // Both with the lock held.
    void StartRequests();
    void Launch(unsigned long long rid, std::string body);
    std::string BodyFor(unsigned long long rid, const Outgoing& outgoing) const;
    // Turns one answer into stanzas or a fault; without the lock.
    Fault Take(unsigned long long rid, HttpResult result);

    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    std::string m_domain;
    std::string m_sid;
    int m_wait = 60;
    int m_maxRequests = 2;  // the server's "requests", at most hold + 1
    DWORD m_timeoutMs = 90000;

    // Guarded by the shared lock.
    std::deque<Outgoing> m_outgoing;
    std::deque<std::unique_ptr<XmlElement>> m_incoming;
    unsigned long long m_nextRid = 0;
    unsigned long long m_nextToTake = 0;
    unsigned long long m_terminateRid = 0;  // 0 until the terminate request is sent
    bool m_woken = false;
    bool m_ended = false;  // the terminate request has been answered
};

}  // namespace bosh
