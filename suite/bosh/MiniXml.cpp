#include "bosh/MiniXml.h"

#include <cstdint>
#include <map>

namespace bosh {
namespace {
// Deep enough for any stanza we read; bounds the recursion on hostile input.
constexpr int kMaxDepth = 64;

using Namespaces = std::map<std::string, std::string>;  // prefix ("" = default) -> name

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsXmlChar(std::uint32_t code) {
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
           (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
}

// Decodes one UTF-8 sequence at text[pos]; false for a malformed or overlong one.
bool NextCodePoint(std::string_view text, size_t& pos, std::uint32_t& code) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    if (lead < 0x80) {
        code = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        code = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        code = lead & 0x0F;
        extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
        code = lead & 0x07;
        extra = 3;
    } else {
        return false;
    }
    if (extra > 0 && pos + extra >= text.size()) return false;
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return false;
        code = (code << 6) | (next & 0x3F);
    }
    static const std::uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (code < kLeast[extra]) return false;
    pos += static_cast<size_t>(extra) + 1;
    return true;
}

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    std::unique_ptr<XmlElement> Document() {
        if (!IsXmlText(m_text)) return nullptr;
        SkipMisc();
        if (!Peek('<')) return nullptr;
        Namespaces scope{{"xml", "http://www.w3.org/XML/1998/namespace"}};
        auto root = Element(scope, 0);
        if (!root) return nullptr;
        SkipMisc();
        return m_pos == m_text.size() ? std::move(root) : nullptr;
    }

private:
    bool Peek(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }
    bool StartsWith(std::string_view s) const { return m_text.substr(m_pos, s.size()) == s; }
    void SkipSpace() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r' ||
                                         m_text[m_pos] == '\n'))
            ++m_pos;
    }
    bool SkipPast(std::string_view end) {
        const size_t found = m_text.find(end, m_pos);
        if (found == std::string_view::npos) return false;
        m_pos = found + end.size();
        return true;
    }
    // White space, the declaration, processing instructions and comments.
    void SkipMisc() {
        for (;;) {
            SkipSpace();
            if (StartsWith("<?")) {
                if (!SkipPast("?>")) return;
            } else if (StartsWith("<!--")) {
                if (!SkipPast("-->")) return;
            } else {
                return;
            }
        }
    }

    std::string Name() {
        const size_t start = m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' || c == '=' || c == '<' ||
                c == '"' || c == '\'' || c == '&')
                break;
            ++m_pos;
        }
        return std::string(m_text.substr(start, m_pos - start));
    }

    // Appends `raw` with its references replaced; false on a bad reference.
    bool Decode(std::string_view raw, std::string& out) const {
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const size_t semi = raw.find(';', i);
            if (semi == std::string_view::npos) return false;
            const std::string_view ref = raw.substr(i + 1, semi - i - 1);
            if (ref == "amp") out += '&';
            else if (ref == "lt") out += '<';
            else if (ref == "gt") out += '>';
            else if (ref == "quot") out += '"';
            else if (ref == "apos") out += '\'';
            else if (ref.size() > 1 && ref[0] == '#') {
                const bool hex = ref[1] == 'x';
                const std::string_view digits = ref.substr(hex ? 2 : 1);
                if (digits.empty() || digits.size() > 8) return false;
                std::uint32_t code = 0;
                for (char d : digits) {
                    int value;
                    if (d >= '0' && d <= '9') value = d - '0';
                    else if (hex && d >= 'a' && d <= 'f') value = d - 'a' + 10;
                    else if (hex && d >= 'A' && d <= 'F') value = d - 'A' + 10;
                    else return false;
                    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
                }
                if (!IsXmlChar(code)) return false;
                AppendUtf8(out, code);
            } else {
                return false;  // no document type, so no other entity exists
            }
            i = semi;
        }
        return true;
    }

    static bool Resolve(const Namespaces& scope, const std::string& qualified, std::string& local, std::string& ns) {
        const size_t colon = qualified.find(':');
        const std::string prefix = colon == std::string::npos ? std::string() : qualified.substr(0, colon);
        local = colon == std::string::npos ? qualified : qualified.substr(colon + 1);
        const auto found = scope.find(prefix);
        if (found == scope.end()) {
            ns.clear();
            return prefix.empty();
        }
        ns = found->second;
        return true;
    }

    std::unique_ptr<XmlElement> Element(const Namespaces& outer, int depth) {
        if (depth > kMaxDepth || !Peek('<')) return nullptr;
        ++m_pos;
        const std::string qualified = Name();
        if (qualified.empty()) return nullptr;
        auto element = std::make_unique<XmlElement>();
        Namespaces scope = outer;
        for (;;) {
            SkipSpace();
            if (m_pos >= m_text.size()) return nullptr;
            if (Peek('>') || StartsWith("/>")) break;
            std::string attribute = Name();
            SkipSpace();
            if (attribute.empty() || !Peek('=')) return nullptr;
            ++m_pos;
            SkipSpace();
            if (!Peek('"') && !Peek('\'')) return nullptr;
            const char quote = m_text[m_pos++];
            const size_t end = m_text.find(quote, m_pos);
            if (end == std::string_view::npos) return nullptr;
            const std::string_view raw = m_text.substr(m_pos, end - m_pos);
            if (raw.find('<') != std::string_view::npos) return nullptr;
            std::string value;
            if (!Decode(raw, value)) return nullptr;
            m_pos = end + 1;
            if (attribute == "xmlns") scope[""] = value;
            else if (attribute.rfind("xmlns:", 0) == 0) scope[attribute.substr(6)] = value;
            element->attributes.emplace_back(std::move(attribute), std::move(value));
        }
        if (!Resolve(scope, qualified, element->name, element->ns)) return nullptr;
        if (StartsWith("/>")) {
            m_pos += 2;
            return element;
        }
        ++m_pos;  // '>'
        for (;;) {
            if (m_pos >= m_text.size()) return nullptr;
            if (StartsWith("</")) {
                m_pos += 2;
                if (Name() != qualified) return nullptr;
                SkipSpace();
                if (!Peek('>')) return nullptr;
                ++m_pos;
                return element;
            }
            if (StartsWith("<!--")) {
                if (!SkipPast("-->")) return nullptr;
            } else if (StartsWith("<![CDATA[")) {
                const size_t start = m_pos + 9;
                const size_t end = m_text.find("]]>", start);
                if (end == std::string_view::npos) return nullptr;
                element->text.append(m_text.substr(start, end - start));
                m_pos = end + 3;
            } else if (StartsWith("<?")) {
                if (!SkipPast("?>")) return nullptr;
            } else if (StartsWith("<!")) {
                return nullptr;
            } else if (Peek('<')) {
                auto child = Element(scope, depth + 1);
                if (!child) return nullptr;
                element->children.push_back(std::move(child));
            } else {
                const size_t end = m_text.find('<', m_pos);
                if (end == std::string_view::npos) return nullptr;
                if (!Decode(m_text.substr(m_pos, end - m_pos), element->text)) return nullptr;
                m_pos = end;
            }
        }
    }

    std::string_view m_text;
    size_t m_pos = 0;
};
}  // namespace

const std::string* XmlElement::Attribute(std::string_view qualifiedName) const {
    for (const auto& [name, value] : attributes)
        if (name == qualifiedName) return &value;
    return nullptr;
}

std::string XmlElement::AttributeOr(std::string_view qualifiedName, std::string_view fallback) const {
    const std::string* value = Attribute(qualifiedName);
    return value ? *value : std::string(fallback);
}

const XmlElement* XmlElement::Child(std::string_view localName, std::string_view ns) const {
    for (const auto& child : children)
        if (child->name == localName && (ns.empty() || child->ns == ns)) return child.get();
    return nullptr;
}

std::unique_ptr<XmlElement> ParseXml(std::string_view text) { return Parser(text).Document(); }

bool IsXmlText(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        std::uint32_t code = 0;
        if (!NextCodePoint(text, pos, code) || !IsXmlChar(code)) return false;
    }
    return true;
}

std::string XmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 8);
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        // Kept as references: a parser would otherwise normalise them away.
        case '\r': escaped += "&#13;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

}  // namespace bosh
