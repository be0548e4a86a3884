#pragma once
// XMPP addresses and the stanzas the client sends, as text ready for a BOSH body.
#include <string>
#include <string_view>
#include <vector>

#include "bosh/MiniXml.h"

namespace bosh {

namespace xmlns {
inline constexpr char kClient[] = "jabber:client";
inline constexpr char kSasl[] = "urn:ietf:params:xml:ns:xmpp-sasl";
inline constexpr char kBind[] = "urn:ietf:params:xml:ns:xmpp-bind";
inline constexpr char kSession[] = "urn:ietf:params:xml:ns:xmpp-session";
inline constexpr char kStreams[] = "http://etherx.jabber.org/streams";
inline constexpr char kPing[] = "urn:xmpp:ping";
}  // namespace xmlns

struct Jid {
    std::string node;
    std::string domain;
    std::string resource;
};
// "node@domain/resource"; false without a node, a domain or a resource.
bool ParseFullJid(std::string_view text, Jid& jid);
// A receiver: "domain", "node@domain" or either with "/resource".
bool IsUsableJid(std::string_view text);

std::string SaslAuth(const char* mechanism, std::string_view initialResponse);
std::string SaslResponse(std::string_view response);
std::string SaslAbort();
// SASL data of a challenge or success ("=" or nothing means none); false when not Base64.
bool SaslData(const XmlElement& element, std::string& data);
std::vector<std::string> OfferedMechanisms(const XmlElement& features);

std::string BindRequest(std::string_view id, std::string_view resource);
std::string SessionRequest(std::string_view id);
std::string Presence(bool available);
std::string ChatMessage(std::string_view id, std::string_view receiver, std::string_view body);
std::string PingResult(std::string_view receiver, std::string_view id);
// The answer to a query we do not serve.
std::string ServiceUnavailable(const XmlElement& iq);

}  // namespace bosh
