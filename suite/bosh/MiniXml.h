#pragma once
// The little XML the client needs: BOSH bodies are whole documents, so a small
// tree parser with namespace resolution suffices, plus escaping for what we send.
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bosh {

struct XmlElement {
    std::string name;  // local name
    std::string ns;    // namespace the element is in
    std::vector<std::pair<std::string, std::string>> attributes;  // names as written, values decoded
    std::vector<std::unique_ptr<XmlElement>> children;
    std::string text;  // the character data directly inside, decoded

    [[nodiscard]] const std::string* Attribute(std::string_view qualifiedName) const;
    [[nodiscard]] std::string AttributeOr(std::string_view qualifiedName, std::string_view fallback = {}) const;
    // The first child with this local name (and namespace, when one is given).
    [[nodiscard]] const XmlElement* Child(std::string_view localName, std::string_view ns = {}) const;
};

// Null when the text is not one well-formed element (a declaration, comments
// and white space around it are allowed; document type declarations are not).
std::unique_ptr<XmlElement> ParseXml(std::string_view text);

// True when the text is UTF-8 holding only characters an XML document may carry.
bool IsXmlText(std::string_view text);

// Escapes for character data and for attribute values in single or double quotes.
std::string XmlEscape(std::string_view text);

}  // namespace bosh
