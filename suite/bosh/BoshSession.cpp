#include "bosh/BoshSession.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "BoshClient.h"
#include "bosh/Crypto.h"
#include "UniqueHandle.h"

namespace bosh {
namespace {
constexpr char kHttpBind[] = "http://jabber.org/protocol/httpbind";
// The longest wait we ask for; servers cap it with their own limit.
constexpr int kRequestedWait = 60;
// Room beyond the server's wait before a held request counts as lost.
constexpr int kTimeoutMarginSeconds = 20;

int IntAttribute(const XmlElement& element, const char* name, int fallback, int low, int high) {
    const std::string* text = element.Attribute(name);
    if (!text || text->empty() || text->find_first_not_of("0123456789") != std::string::npos || text->size() > 6)
        return fallback;
    return std::clamp(std::atoi(text->c_str()), low, high);
}

// Request ids start at a random point well below 2^53, leaving room to count up.
unsigned long long FirstRid() {
    std::string random;
    unsigned long value = ::GetTickCount();
    if (RandomBytes(sizeof(value), random)) std::memcpy(&value, random.data(), sizeof(value));
    return (value & 0x3FFFFFFFul) + 1;
}
}  // namespace

// A request handed to its thread.
struct CBoshSession::Request {
    std::shared_ptr<Shared> shared;
    unsigned long long rid;
    std::string body;
    DWORD timeoutMs;
    HMODULE module;  // this library, held until the thread ends
};

CBoshSession::~CBoshSession() {
    // Cuts every request short; a request still finishing holds the shared
    // state until its callback returns.
    m_shared->http.Abort();
}

Fault CBoshSession::Create(const ServiceAddress& address, const HttpOptions& options, const std::string& domain,
                           int hold, const std::atomic<bool>& stop) {
    if (const DWORD error = m_shared->http.Open(address, options)) return {kConnectFailed, static_cast<int>(error)};
    m_domain = domain;
    hold = std::clamp(hold, 1, 2);
    const unsigned long long rid = FirstRid();
    m_nextRid = rid + 1;
    m_nextToTake = rid + 1;
    const std::string body = "<body content='text/xml; charset=utf-8' hold='" + std::to_string(hold) + "' rid='" +
                             std::to_string(rid) + "' to='" + XmlEscape(domain) + "' ver='1.6' wait='" +
                             std::to_string(kRequestedWait) +
                             "' xml:lang='en' xmpp:version='1.0' xmlns='" + kHttpBind +
                             "' xmlns:xmpp='urn:xmpp:xbosh'/>";
    HttpResult result;
    {
        std::unique_lock lock(m_shared->lock);
        Launch(rid, body);
        m_shared->changed.wait(lock, [&] { return m_shared->answers.count(rid) != 0 || stop.load(); });
        const auto found = m_shared->answers.find(rid);
        if (found == m_shared->answers.end()) return {kSignedOff, 0};
        result = std::move(found->second);
        m_shared->answers.erase(found);
    }
    if (result.error) return {kConnectFailed, static_cast<int>(result.error)};
    if (result.status != 200) return {kConnectFailed, static_cast<int>(result.status)};
    auto root = ParseXml(result.body);
    if (!root || root->name != "body" || root->ns != kHttpBind || root->AttributeOr("type") == "terminate")
        return {kProtocolError, 0};
    const std::string* sid = root->Attribute("sid");
    if (!sid || sid->empty()) return {kProtocolError, 0};
    m_wait = IntAttribute(*root, "wait", kRequestedWait, 1, 3600);
    m_timeoutMs = static_cast<DWORD>(m_wait + kTimeoutMarginSeconds) * 1000;
    m_maxRequests = std::min(IntAttribute(*root, "requests", hold + 1, 1, 16), hold + 1);
    std::lock_guard lock(m_shared->lock);
    m_sid = *sid;
    for (auto& stanza : root->children) m_incoming.push_back(std::move(stanza));
    return {};
}

void CBoshSession::Push(Outgoing outgoing) {
    std::lock_guard lock(m_shared->lock);
    m_outgoing.push_back(std::move(outgoing));
    // Leaves from the caller's thread when a request may go now, rather than
    // after the session's thread has woken to send it.
    StartRequests();
    m_shared->changed.notify_all();
}

void CBoshSession::Queue(std::string stanzas) { Push({std::move(stanzas), false, false}); }

void CBoshSession::QueueRestart() { Push({{}, true, false}); }

void CBoshSession::QueueTerminate(std::string stanzas) { Push({std::move(stanzas), false, true}); }

void CBoshSession::Wake() {
    std::lock_guard lock(m_shared->lock);
    m_woken = true;
    m_shared->changed.notify_all();
}

void CALLBACK CBoshSession::RunRequest(PTP_CALLBACK_INSTANCE instance, void* parameter) {
    std::unique_ptr<Request> request(static_cast<Request*>(parameter));
    // The library stays loaded until this callback has returned.
    ::FreeLibraryWhenCallbackReturns(instance, request->module);
    // A held poll blocks for up to the server's wait: the pool must not count on this thread.
    ::CallbackMayRunLong(instance);
    HttpResult result;
    try {
        result = request->shared->http.Post(request->body, request->timeoutMs);
    } catch (...) {
        result.error = ERROR_NOT_ENOUGH_MEMORY;
    }
    std::lock_guard lock(request->shared->lock);
    --request->shared->busy;
    try {
        request->shared->answers[request->rid] = std::move(result);
    } catch (...) {
        // The session waits for this id in vain and ends at its time-out.
    }
    request->shared->changed.notify_all();
}

void CBoshSession::Launch(unsigned long long rid, std::string body) {
    auto request = std::make_unique<Request>(Request{m_shared, rid, std::move(body), m_timeoutMs, nullptr});
    HttpResult failed;
    // Pool threads outlive a request, so a request does not pay for a thread's start.
    if (::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&RunRequest),
                             &request->module)) {
        ++m_shared->busy;
        if (::TrySubmitThreadpoolCallback(&RunRequest, request.get(), nullptr)) {
            (void)request.release();  // the callback owns it now
            return;
        }
        failed.error = ::GetLastError();
        --m_shared->busy;
        ::FreeLibrary(request->module);
    } else {
        failed.error = ::GetLastError();
    }
    // No thread: the request fails as a request would.
    if (failed.error == 0) failed.error = ERROR_NOT_ENOUGH_MEMORY;
    m_shared->answers[rid] = std::move(failed);
}

std::string CBoshSession::BodyFor(unsigned long long rid, const Outgoing& outgoing) const {
    std::string body = "<body rid='" + std::to_string(rid) + "' sid='" + XmlEscape(m_sid) + "' xmlns='" + kHttpBind + "'";
    if (outgoing.restart)
        body += " to='" + XmlEscape(m_domain) + "' xml:lang='en' xmpp:restart='true' xmlns:xmpp='urn:xmpp:xbosh'";
    if (outgoing.terminate) body += " type='terminate'";
    if (outgoing.stanzas.empty()) return body + "/>";
    return body + ">" + outgoing.stanzas + "</body>";
}

void CBoshSession::StartRequests() {
    if (m_sid.empty() || m_terminateRid != 0) return;
    while (m_shared->busy < m_maxRequests) {
        if (!m_outgoing.empty()) {
            Outgoing next = std::move(m_outgoing.front());
            m_outgoing.pop_front();
            // Plain stanzas waiting behind one another share a request.
            while (!next.restart && !next.terminate && !m_outgoing.empty() && !m_outgoing.front().restart) {
                next.stanzas += m_outgoing.front().stanzas;
                next.terminate = m_outgoing.front().terminate;
                m_outgoing.pop_front();
            }
            const unsigned long long rid = m_nextRid++;
            if (next.terminate) m_terminateRid = rid;
            Launch(rid, BodyFor(rid, next));
            if (next.terminate) return;
        } else if (m_shared->busy == 0) {
            // Nothing to say: an empty request for the server to hold until it has something.
            const unsigned long long rid = m_nextRid++;
            Launch(rid, BodyFor(rid, Outgoing{}));
        } else {
            return;
        }
    }
}

Fault CBoshSession::Take(unsigned long long rid, HttpResult result) {
    unsigned long long terminateRid;
    {
        std::lock_guard lock(m_shared->lock);
        terminateRid = m_terminateRid;
    }
    // Once we asked to end, a dropped or refused request is the end we asked for.
    if (terminateRid != 0 && (!result.ok() || rid == terminateRid)) {
        std::lock_guard lock(m_shared->lock);
        m_ended = true;
        if (!result.ok()) return {};
    }
    if (result.error) return {kConnectionLost, static_cast<int>(result.error)};
    if (result.status != 200) return {kConnectionLost, static_cast<int>(result.status)};
    auto root = ParseXml(result.body);
    if (!root || root->name != "body" || root->ns != kHttpBind) return {kProtocolError, 0};
    std::lock_guard lock(m_shared->lock);
    for (auto& stanza : root->children) m_incoming.push_back(std::move(stanza));
    if (root->AttributeOr("type") == "terminate") {
        if (terminateRid == 0) return {kConnectionLost, 0};
        m_ended = true;
    }
    return {};
}

Fault CBoshSession::Next(std::unique_ptr<XmlElement>& stanza, DWORD timeoutMs) {
    stanza.reset();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(m_shared->lock);
    for (;;) {
        if (!m_incoming.empty()) {
            stanza = std::move(m_incoming.front());
            m_incoming.pop_front();
            return {};
        }
        if (m_ended) return {kSignedOff, 0};
        const auto answer = m_shared->answers.find(m_nextToTake);
        if (answer != m_shared->answers.end()) {
            HttpResult result = std::move(answer->second);
            m_shared->answers.erase(answer);
            const unsigned long long rid = m_nextToTake++;
            lock.unlock();
            const Fault fault = Take(rid, std::move(result));
            lock.lock();
            if (fault) return fault;
            continue;
        }
        StartRequests();
        if (m_woken) {
            m_woken = false;
            return {};
        }
        if (m_shared->changed.wait_until(lock, deadline) == std::cv_status::timeout && m_incoming.empty() &&
            m_shared->answers.count(m_nextToTake) == 0)
            return {};
    }
}

}  // namespace bosh
