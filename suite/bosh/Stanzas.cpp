#include "bosh/Stanzas.h"

#include "bosh/Crypto.h"

namespace bosh {
namespace {
std::string Attr(const char* name, std::string_view value) {
    return std::string(" ") + name + "='" + XmlEscape(value) + "'";
}

bool IsPart(std::string_view part) {
    return !part.empty() && part.size() <= 1023 && part.find_first_of(" \t\r\n\"&'<>@/:") == std::string_view::npos;
}
}  // namespace

bool ParseFullJid(std::string_view text, Jid& jid) {
    const size_t at = text.find('@');
    const size_t slash = text.find('/');
    if (at == std::string_view::npos || slash == std::string_view::npos || slash < at) return false;
    jid.node = std::string(text.substr(0, at));
    jid.domain = std::string(text.substr(at + 1, slash - at - 1));
    jid.resource = std::string(text.substr(slash + 1));
    return IsPart(jid.node) && IsPart(jid.domain) && !jid.resource.empty() && IsXmlText(jid.resource);
}

bool IsUsableJid(std::string_view text) {
    const size_t slash = text.find('/');
    const std::string_view bare = text.substr(0, slash);
    if (slash != std::string_view::npos && (slash + 1 == text.size() || !IsXmlText(text.substr(slash + 1))))
        return false;
    const size_t at = bare.find('@');
    if (at == std::string_view::npos) return IsPart(bare);
    return IsPart(bare.substr(0, at)) && IsPart(bare.substr(at + 1));
}

std::string SaslAuth(const char* mechanism, std::string_view initialResponse) {
    // An empty initial response is sent as "=", so that it differs from none.
    const std::string data = initialResponse.empty() ? "=" : Base64Encode(initialResponse);
    return std::string("<auth") + Attr("xmlns", xmlns::kSasl) + Attr("mechanism", mechanism) + ">" + data + "</auth>";
}

std::string SaslResponse(std::string_view response) {
    return std::string("<response") + Attr("xmlns", xmlns::kSasl) + ">" + Base64Encode(response) + "</response>";
}

std::string SaslAbort() { return std::string("<abort") + Attr("xmlns", xmlns::kSasl) + "/>"; }

bool SaslData(const XmlElement& element, std::string& data) {
    data.clear();
    if (element.text.empty() || element.text == "=") return true;
    return Base64Decode(element.text, data);
}

std::vector<std::string> OfferedMechanisms(const XmlElement& features) {
    std::vector<std::string> names;
    if (const XmlElement* mechanisms = features.Child("mechanisms", xmlns::kSasl))
        for (const auto& child : mechanisms->children)
            if (child->name == "mechanism") names.push_back(child->text);
    return names;
}

std::string BindRequest(std::string_view id, std::string_view resource) {
    return std::string("<iq") + Attr("xmlns", xmlns::kClient) + Attr("type", "set") + Attr("id", id) + "><bind" +
           Attr("xmlns", xmlns::kBind) + "><resource>" + XmlEscape(resource) + "</resource></bind></iq>";
}

std::string SessionRequest(std::string_view id) {
    return std::string("<iq") + Attr("xmlns", xmlns::kClient) + Attr("type", "set") + Attr("id", id) + "><session" +
           Attr("xmlns", xmlns::kSession) + "/></iq>";
}

std::string Presence(bool available) {
    return std::string("<presence") + Attr("xmlns", xmlns::kClient) + (available ? "" : Attr("type", "unavailable")) +
           "/>";
}

std::string ChatMessage(std::string_view id, std::string_view receiver, std::string_view body) {
    return std::string("<message") + Attr("xmlns", xmlns::kClient) + Attr("to", receiver) + Attr("type", "chat") +
           Attr("id", id) + "><body>" + XmlEscape(body) + "</body></message>";
}

std::string PingResult(std::string_view receiver, std::string_view id) {
    return std::string("<iq") + Attr("xmlns", xmlns::kClient) + (receiver.empty() ? "" : Attr("to", receiver)) +
           Attr("type", "result") + Attr("id", id) + "/>";
}

std::string ServiceUnavailable(const XmlElement& iq) {
    const std::string from = iq.AttributeOr("from");
    return std::string("<iq") + Attr("xmlns", xmlns::kClient) + (from.empty() ? "" : Attr("to", from)) +
           Attr("type", "error") + Attr("id", iq.AttributeOr("id")) + "><error" + Attr("type", "cancel") +
           "><service-unavailable" + Attr("xmlns", "urn:ietf:params:xml:ns:xmpp-stanzas") + "/></error></iq>";
}

}  // namespace bosh
