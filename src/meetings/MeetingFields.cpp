#include "MeetingFields.h"

#include <cwchar>

#include "ComHolders.h"
#include "MSDom.h"

namespace {
const CStringEx kEmpty;

// The element's name, or nothing for any other kind of node.
bool ElementName(IXMLDOMNode* node, Bstr& name) {
    DOMNodeType type = NODE_INVALID;
    return SUCCEEDED(node->get_nodeType(&type)) && type == NODE_ELEMENT && SUCCEEDED(node->get_nodeName(name.receive()));
}
}  // namespace

CMeetingFields::CMeetingFields(IUnknown* meeting, std::initializer_list<const wchar_t*> names) {
    m_fields.reserve(names.size());
    for (const wchar_t* asked : names) {
        const wchar_t* slash = std::wcschr(asked, L'/');
        Field field;
        field.asked = asked;
        if (slash) {
            field.parent.assign(asked, slash);
            field.name = slash + 1;
        } else {
            field.name = asked;
        }
        m_fields.push_back(std::move(field));
    }
    size_t missing = m_fields.size();
    if (meeting && missing) Walk(meeting, std::wstring(), missing);
}

void CMeetingFields::Walk(IUnknown* parentNode, const std::wstring& parent, size_t& missing) {
    ForEachChildNode(parentNode, [&](IXMLDOMNode* child) {
        Bstr name;
        if (!ElementName(child, name)) return true;
        bool holdsMissing = false;  // a parent element of a field not found yet
        for (Field& field : m_fields) {
            if (field.found) continue;
            if (field.parent == parent && field.name == name.c_str()) {
                Bstr text;
                if (child->get_text(text.receive()) == S_OK) field.text = CStringEx(text.str());
                field.found = true;
                --missing;
            } else if (parent.empty() && field.parent == name.c_str()) {
                holdsMissing = true;
            }
        }
        // Fields one level down are looked for under every element of the parent's name.
        if (holdsMissing) Walk(child, std::wstring(name.c_str()), missing);
        return missing > 0;
    });
}

const CStringEx& CMeetingFields::Text(const wchar_t* name) const noexcept {
    for (const Field& field : m_fields)
        if (field.asked == name || std::wcscmp(field.asked, name) == 0) return field.text;
    return kEmpty;
}

LONG CMeetingFields::Number(const wchar_t* name) const noexcept {
    const CStringEx& text = Text(name);
    return text.IsEmpty() ? 0 : CMSDom::StringToLong(text.c_str());
}

BOOL CMeetingFields::Flag(const wchar_t* name, BOOL absent) const noexcept {
    const CStringEx& text = Text(name);
    return text.IsEmpty() ? absent : CMSDom::StringToBool(text.c_str());
}

DATE CMeetingFields::Date(const wchar_t* name) const noexcept {
    const CStringEx& text = Text(name);
    double value = 0.0;
    if (!text.IsEmpty()) std::swscanf(text.c_str(), L"%lf", &value);
    return value;
}
