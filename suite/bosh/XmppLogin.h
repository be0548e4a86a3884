#pragma once
// Signing in over a BOSH session: the session itself, SASL, the stream
// restart, resource binding, the session request and the initial presence.
#include <atomic>
#include <functional>
#include <string>

#include "bosh/BoshSession.h"

namespace bosh {

struct LoginSettings {
    std::string boshAddress;
    std::string domain;
    std::string fullAddress;  // node@domain/resource
    std::string password;
    HttpOptions http;
    int hold = 1;
    bool sendPresence = true;
};

class CXmppLogin {
public:
    // `stop` ends the login early (with kSignedOff) once the session is woken.
    CXmppLogin(CBoshSession& session, const std::atomic<bool>& stop, std::function<void(int)> onStage)
        : m_session(session), m_stop(stop), m_onStage(std::move(onStage)) {}

    Fault Run(const LoginSettings& settings);

    // The address the server bound us to.
    [[nodiscard]] const std::string& BoundAddress() const noexcept { return m_bound; }

private:
    // Waits for the first stanza `wanted` accepts, dropping others.
    Fault Await(std::unique_ptr<XmlElement>& stanza, const std::function<bool(const XmlElement&)>& wanted);
    Fault Authenticate(const XmlElement& features, const std::string& user, const std::string& password);
    Fault Bind(const std::string& resource, bool& sessionWanted);

    CBoshSession& m_session;
    const std::atomic<bool>& m_stop;
    std::function<void(int)> m_onStage;
    std::string m_bound;
};

}  // namespace bosh
