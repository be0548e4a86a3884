#pragma once
// The texts of a meeting element's fields, read in one walk over its
// children. A field is a child element named `name`, or `parent/name` for a
// child of a child; as with a selection, the first match in document order
// wins. Asking by selection compiles and runs a query per field, which was
// most of the cost of reading a meeting.
#include <windows.h>
#include <msxml2.h>
#include <wrl/client.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "StringEx.h"

// Calls `visit` with each child node of `parent`, in document order, for as
// long as it returns true.
template <typename Visit>
void ForEachChildNode(IUnknown* parent, Visit visit) {
    Microsoft::WRL::ComPtr<IXMLDOMNode> node, child;
    if (!parent || FAILED(parent->QueryInterface(IID_IXMLDOMNode, reinterpret_cast<void**>(node.GetAddressOf()))) ||
        node->get_firstChild(child.GetAddressOf()) != S_OK)
        return;
    while (child && visit(child.Get())) {
        Microsoft::WRL::ComPtr<IXMLDOMNode> next;
        if (child->get_nextSibling(next.GetAddressOf()) != S_OK) break;
        child = std::move(next);
    }
}

class CMeetingFields {
public:
    // Reads the fields `names`; the walk stops once every one has been found.
    CMeetingFields(IUnknown* meeting, std::initializer_list<const wchar_t*> names);

    // Empty when the field is absent.
    [[nodiscard]] const CStringEx& Text(const wchar_t* name) const noexcept;
    // The field as a number; 0 when absent or empty.
    [[nodiscard]] LONG Number(const wchar_t* name) const noexcept;
    // yes/no, true/false, t/f, y/n or a number; `absent` when absent or empty.
    [[nodiscard]] BOOL Flag(const wchar_t* name, BOOL absent = FALSE) const noexcept;
    // A date as the document writes it, a number of days; 0 when absent.
    [[nodiscard]] DATE Date(const wchar_t* name) const noexcept;
    [[nodiscard]] bool IsTrueText(const wchar_t* name) const noexcept { return Text(name).CompareNoCase(L"true") == 0; }

private:
    struct Field {
        std::wstring parent;  // empty for a direct child
        std::wstring name;
        const wchar_t* asked;
        CStringEx text;
        bool found = false;
    };
    void Walk(IUnknown* node, const std::wstring& parent, size_t& missing);
    std::vector<Field> m_fields;
};
