#include "bosh/Client.h"

#include <chrono>
#include <string>

#include "bosh/Stanzas.h"

namespace bosh {
namespace {
// How long a sign-off waits for the server to confirm the end of the session.
constexpr auto kSignOffWait = std::chrono::seconds(5);
// Upper bound of one wait for stanzas; flags are looked at in between.
constexpr DWORD kIdleWaitMs = 60000;

std::string Text(const char* text) { return text ? text : ""; }
}  // namespace

CBoshClient::CBoshClient() : m_thread([this] { Run(); }) {}

CBoshClient::~CBoshClient() = default;

int CBoshClient::SetSink(IBOSHClientSink* sink) {
    m_sink = sink;
    return 0;
}

int CBoshClient::Configure(BOSHClientConfig config, int hold, int sendPresence) {
    std::lock_guard lock(m_lock);
    m_configured.http = {Text(config.proxy), Text(config.proxyBypass), Text(config.userAgent)};
    m_configured.hold = hold;
    m_configured.sendPresence = sendPresence != 0;
    return 0;
}

int CBoshClient::Login(const char* boshAddress, const char* domain, const char* fullAddress, const char* password) {
    std::lock_guard lock(m_lock);
    Command command{true, m_configured};
    command.settings.boshAddress = Text(boshAddress);
    command.settings.domain = Text(domain);
    command.settings.fullAddress = Text(fullAddress);
    command.settings.password = Text(password);
    m_commands.push_back(std::move(command));
    m_changed.notify_all();
    return 0;
}

int CBoshClient::SendChatMessage(const char* receiver, const char* body) {
    if (!receiver || !body || !IsUsableJid(receiver) || !IsXmlText(body)) return 1;
    std::lock_guard lock(m_lock);
    if (!m_session || !m_signedIn) return 1;
    m_session->Queue(ChatMessage("m" + std::to_string(++m_messageCount), receiver, body));
    return 0;
}

int CBoshClient::LogOff() {
    std::lock_guard lock(m_lock);
    // Logins not yet begun are dropped; the sign-off is reported once all the same.
    std::erase_if(m_commands, [](const Command& command) { return command.login; });
    if (m_loginRunning) {
        // The session may not exist yet: it looks at the flag once it does.
        m_stop = true;
        if (m_session) m_session->Wake();
    } else {
        m_commands.push_back(Command{});
        m_changed.notify_all();
    }
    return 0;
}

void CBoshClient::Release() {
    {
        std::lock_guard lock(m_lock);
        m_quit = true;
        m_stop = true;
        if (m_session) m_session->Wake();
        m_changed.notify_all();
        if (std::this_thread::get_id() == m_thread.get_id()) {
            m_deleteOnExit = true;
            m_thread.detach();
            return;
        }
    }
    m_thread.join();
    delete this;
}

void CBoshClient::Run() {
    for (;;) {
        Command command;
        {
            std::unique_lock lock(m_lock);
            m_changed.wait(lock, [&] { return m_quit || !m_commands.empty(); });
            if (m_quit) break;
            command = std::move(m_commands.front());
            m_commands.pop_front();
            m_stop = false;
            m_loginRunning = command.login;
        }
        const Fault fault = command.login ? RunSession(command.settings) : Fault{kSignedOff, 0};
        {
            std::lock_guard lock(m_lock);
            m_loginRunning = false;
            if (m_quit) break;
        }
        Report(fault);
    }
    bool deleteOnExit;
    {
        std::lock_guard lock(m_lock);
        deleteOnExit = m_deleteOnExit;
    }
    if (deleteOnExit) delete this;
}

Fault CBoshClient::RunSession(const LoginSettings& settings) {
    CBoshSession session;
    // Published for LogOff and SendChatMessage while it lives.
    struct Publication {
        CBoshClient& client;
        Publication(CBoshClient& c, CBoshSession* s) : client(c) {
            std::lock_guard lock(client.m_lock);
            client.m_session = s;
            // A LogOff that came before the session existed must still end it.
            if (client.m_stop) s->Wake();
        }
        ~Publication() {
            std::lock_guard lock(client.m_lock);
            client.m_session = nullptr;
            client.m_signedIn = false;
        }
    } publication(*this, &session);

    CXmppLogin login(session, m_stop, [this](int stage) {
        if (IBOSHClientSink* sink = m_sink.load(); sink && !m_stop) sink->onEvent(stage, 0);
    });
    if (Fault fault = login.Run(settings)) return fault;
    bool stopped;
    {
        std::lock_guard lock(m_lock);
        stopped = m_stop;
        m_signedIn = !stopped;
    }
    // Stopped just as the login finished: no onLogin, but the server still learns that we go.
    if (!stopped) {
        if (IBOSHClientSink* sink = m_sink.load()) sink->onLogin();
    }
    while (!m_stop) {
        std::unique_ptr<XmlElement> stanza;
        if (Fault fault = session.Next(stanza, kIdleWaitMs)) return fault;
        if (!stanza) continue;
        if (stanza->name == "error" && stanza->ns == xmlns::kStreams) return {kConnectionLost, 0};
        Dispatch(session, *stanza);
    }
    {
        std::lock_guard lock(m_lock);
        m_signedIn = false;
        if (m_quit) return {kSignedOff, 0};
    }
    session.QueueTerminate(Presence(false));
    const auto deadline = std::chrono::steady_clock::now() + kSignOffWait;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        std::unique_ptr<XmlElement> stanza;
        // Whatever ends it, the session is over once the server has had the terminate.
        if (session.Next(stanza, static_cast<DWORD>(left.count()))) break;
    }
    return {kSignedOff, 0};
}

void CBoshClient::Dispatch(CBoshSession& session, const XmlElement& stanza) {
    if (stanza.ns != xmlns::kClient) return;
    const std::string type = stanza.AttributeOr("type");
    if (stanza.name == "message") {
        if (type == "error" || type == "groupchat" || type == "headline") return;
        const XmlElement* body = stanza.Child("body", xmlns::kClient);
        IBOSHClientSink* sink = m_sink.load();
        if (body && sink && !m_stop) sink->onMessageReceived(stanza.AttributeOr("from").c_str(), body->text.c_str());
    } else if (stanza.name == "iq" && (type == "get" || type == "set")) {
        // Every query gets an answer, or the asking entity waits for ever.
        const bool ping = type == "get" && !stanza.children.empty() && stanza.children.front()->name == "ping" &&
                          stanza.children.front()->ns == xmlns::kPing;
        session.Queue(ping ? PingResult(stanza.AttributeOr("from"), stanza.AttributeOr("id"))
                           : ServiceUnavailable(stanza));
    }
}

void CBoshClient::Report(const Fault& fault) {
    IBOSHClientSink* sink = m_sink.load();
    if (!sink) return;
    sink->onError(fault.code, fault.detail);
    sink->onReady();
}

}  // namespace bosh
