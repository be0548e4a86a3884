#include "bosh/XmppLogin.h"

#include <chrono>

#include "BoshClient.h"
#include "bosh/Sasl.h"
#include "bosh/Stanzas.h"

namespace bosh {
namespace {
bool IsFeatures(const XmlElement& e) { return e.name == "features" && e.ns == xmlns::kStreams; }
bool IsSasl(const XmlElement& e) { return e.ns == xmlns::kSasl; }
}  // namespace

Fault CXmppLogin::Await(std::unique_ptr<XmlElement>& stanza, const std::function<bool(const XmlElement&)>& wanted) {
    using Clock = std::chrono::steady_clock;
    // Every step is answered at once by a working server; twice its wait is plenty.
    const auto deadline = Clock::now() + std::chrono::seconds(2 * m_session.WaitSeconds() + 15);
    for (;;) {
        if (m_stop) return {kSignedOff, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return {kProtocolError, WAIT_TIMEOUT};
        if (Fault fault = m_session.Next(stanza, static_cast<DWORD>(left))) return fault;
        if (!stanza) continue;
        if (stanza->name == "error" && stanza->ns == xmlns::kStreams) return {kConnectionLost, 0};
        if (wanted(*stanza)) return {};
    }
}

Fault CXmppLogin::Authenticate(const XmlElement& features, const std::string& user, const std::string& password) {
    auto mechanism = ChooseSaslMechanism(OfferedMechanisms(features), user, password);
    if (!mechanism) return {kProtocolError, 0};
    std::string data;
    if (!mechanism->Start(data)) return {kProtocolError, 0};
    m_session.Queue(SaslAuth(mechanism->Name(), data));
    for (;;) {
        std::unique_ptr<XmlElement> answer;
        if (Fault fault = Await(answer, IsSasl)) return fault;
        if (answer->name == "failure") return {kAuthenticationFailed, 0};
        if (!SaslData(*answer, data)) return {kProtocolError, 0};
        if (answer->name == "success") {
            // A server that cannot prove it knows the password is not the one we meant.
            if (!mechanism->Verify(data)) return {kProtocolError, 0};
            return {};
        }
        if (answer->name != "challenge") return {kProtocolError, 0};
        std::string response;
        if (!mechanism->Answer(data, response)) {
            m_session.Queue(SaslAbort());
            return {kProtocolError, 0};
        }
        m_session.Queue(SaslResponse(response));
    }
}

Fault CXmppLogin::Bind(const std::string& resource, bool& sessionWanted) {
    std::unique_ptr<XmlElement> features;
    if (Fault fault = Await(features, IsFeatures)) return fault;
    if (!features->Child("bind", xmlns::kBind)) return {kProtocolError, 0};
    const XmlElement* session = features->Child("session", xmlns::kSession);
    sessionWanted = session && !session->Child("optional");
    m_session.Queue(BindRequest("bind_1", resource));
    std::unique_ptr<XmlElement> answer;
    if (Fault fault = Await(answer, [](const XmlElement& e) {
            return e.name == "iq" && e.AttributeOr("id") == "bind_1";
        }))
        return fault;
    const XmlElement* bind = answer->Child("bind", xmlns::kBind);
    const XmlElement* jid = bind ? bind->Child("jid") : nullptr;
    if (answer->AttributeOr("type") != "result" || !jid || jid->text.empty()) return {kProtocolError, 0};
    m_bound = jid->text;
    return {};
}

Fault CXmppLogin::Run(const LoginSettings& settings) {
    ServiceAddress address;
    Jid jid;
    if (!ParseServiceAddress(settings.boshAddress, address) || !ParseFullJid(settings.fullAddress, jid) ||
        settings.domain.empty() || !IsXmlText(settings.domain) || settings.password.empty() ||
        !IsXmlText(settings.password))
        return {kBadArguments, 0};
    if (Fault fault = m_session.Create(address, settings.http, settings.domain, settings.hold, m_stop)) return fault;
    m_onStage(kSessionCreated);

    std::unique_ptr<XmlElement> features;
    if (Fault fault = Await(features, IsFeatures)) return fault;
    if (Fault fault = Authenticate(*features, jid.node, settings.password)) return fault;
    m_onStage(kAuthenticated);

    m_session.QueueRestart();
    bool sessionWanted = false;
    if (Fault fault = Bind(jid.resource, sessionWanted)) return fault;
    if (sessionWanted) {
        m_session.Queue(SessionRequest("session_1"));
        std::unique_ptr<XmlElement> answer;
        if (Fault fault = Await(answer, [](const XmlElement& e) {
                return e.name == "iq" && e.AttributeOr("id") == "session_1";
            }))
            return fault;
        if (answer->AttributeOr("type") != "result") return {kProtocolError, 0};
    }
    m_onStage(kResourceBound);
    if (settings.sendPresence) m_session.Queue(Presence(true));
    return {};
}

}  // namespace bosh
