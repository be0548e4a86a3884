#include "MSDom.h"

#include <msxml2.h>
#include <wrl/client.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <iterator>

#include "ComHolders.h"

using Microsoft::WRL::ComPtr;

namespace {
// DOMDocument30: pinned to MSXML 3 so that the default selection language
// (and with it the meaning of every path we evaluate) never changes under us.
constexpr CLSID kClsidDomDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
constexpr DWORD kCreateContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

void Report(const wchar_t* text) noexcept {
    ::OutputDebugStringW(text);
}

// The parser interfaces carry no compiler-known IIDs in every toolchain, so
// they are asked for by IID explicitly.
template <typename T>
ComPtr<T> Query(IUnknown* object, REFIID iid) noexcept {
    ComPtr<T> result;
    if (object) object->QueryInterface(iid, reinterpret_cast<void**>(result.GetAddressOf()));
    return result;
}

ComPtr<IXMLDOMNode> AsNode(IUnknown* object) noexcept { return Query<IXMLDOMNode>(object, IID_IXMLDOMNode); }
ComPtr<IXMLDOMDocument> AsDocument(IUnknown* object) noexcept {
    return Query<IXMLDOMDocument>(object, IID_IXMLDOMDocument);
}
ComPtr<IXMLDOMNodeList> AsList(IUnknown* object) noexcept {
    return Query<IXMLDOMNodeList>(object, IID_IXMLDOMNodeList);
}

// Hands an object to the caller as its IUnknown, with one reference added.
HRESULT HandOut(IUnknown* object, IUnknown** out) noexcept {
    if (!out) return E_POINTER;
    if (!object) return E_FAIL;
    return object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
}

bool IsEmpty(BSTR text) noexcept { return ::SysStringLen(text) == 0; }

bool EqualsNoCase(const wchar_t* a, const wchar_t* b) noexcept {
    return ::CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}
}  // namespace

// ---------------------------------------------------------------- creation and parsing

HRESULT CMSDom::MSDomCreate(IUnknown** ppDoc) noexcept {
    if (!ppDoc) {
        Report(L"CMSDom::MSDomCreate: Invalid argument\n");
        return E_INVALIDARG;
    }
    ComPtr<IXMLDOMDocument> doc;
    const HRESULT hr = ::CoCreateInstance(kClsidDomDocument30, nullptr, kCreateContext, IID_IXMLDOMDocument,
                                          reinterpret_cast<void**>(doc.GetAddressOf()));
    if (FAILED(hr) || !doc) {
        Report(L"CMSDom::MSDomCreate:Failed to create dom object\n");
        return E_FAIL;
    }
    *ppDoc = doc.Detach();
    return S_OK;
}

VARIANT_BOOL CMSDom::LoadFromString(IUnknown* pDoc, BSTR xml) noexcept {
    if (!pDoc || IsEmpty(xml)) {
        Report(L"CMSDom::LoadFromString:Invalid argument\n");
        return VARIANT_FALSE;
    }
    const auto doc = AsDocument(pDoc);
    if (!doc) {
        Report(L"CMSDom::LoadFromString:Failed to get IXMLDOMDocumentPtr\n");
        return VARIANT_FALSE;
    }
    // Documents arrive from the network: never validate against or fetch
    // anything the text points to. White space is kept so that a document
    // reads back exactly as it was sent.
    doc->put_validateOnParse(VARIANT_FALSE);
    doc->put_resolveExternals(VARIANT_FALSE);
    doc->put_preserveWhiteSpace(VARIANT_TRUE);
    VARIANT_BOOL parsed = VARIANT_FALSE;
    doc->loadXML(xml, &parsed);
    return parsed;
}

HRESULT CMSDom::CreateFromString(BSTR xml, IUnknown** ppDoc) noexcept {
    const HRESULT hr = MSDomCreate(ppDoc);
    if (FAILED(hr)) return hr;
    if (IsEmpty(xml)) return E_FAIL;
    return LoadFromString(*ppDoc, xml) == VARIANT_TRUE ? S_OK : E_FAIL;
}

HRESULT CMSDom::GetSubXML(IUnknown* pNode, BSTR* pXml) noexcept {
    const auto node = AsNode(pNode);
    if (!node) {
        Report(L"CMSDom::GetSubXML:: Invalid pointer!\n");
        return E_INVALIDARG;
    }
    if (!pXml || node->get_xml(pXml) != S_OK) {
        Report(L"CMSDom::GetSubXML:: get_xml Failed!\n");
        return E_FAIL;
    }
    return S_OK;
}

// ---------------------------------------------------------------- building a tree

HRESULT CMSDom::CreateRootNode(IUnknown* pDoc, BSTR bstrPath, BSTR text, IUnknown** ppRoot) noexcept {
    const auto doc = AsDocument(pDoc);
    if (!doc || IsEmpty(bstrPath)) {
        Report(L"CMSDom::CreateRootNode: can not get IXMLDOMDocument or bstrPath is empty!\n");
        return E_FAIL;
    }
    ComPtr<IXMLDOMElement> element;
    HRESULT hr = doc->createElement(bstrPath, element.GetAddressOf());
    if (!element) {
        Report(L"CMSDom::CreateRootNode: createElement FAILED!\n");
        return FAILED(hr) ? hr : E_FAIL;
    }
    ComPtr<IXMLDOMNode> appended;
    doc->appendChild(element.Get(), appended.GetAddressOf());
    if (!appended) {
        Report(L"CMSDom::CreateRootNode: appendChild FAILED!\n");
        return E_FAIL;
    }
    // A one-character text is not set: callers pass an empty text, and this is
    // how the helper has always behaved.
    if (::SysStringLen(text) > 1) appended->put_text(text);
    if (!ppRoot) return E_FAIL;
    return HandOut(appended.Get(), ppRoot);
}

HRESULT CMSDom::CreateNode(IUnknown* pParent, BSTR name, IUnknown** ppNewNode) noexcept {
    if (name && IsEmpty(name)) {
        Report(L"CMSDom::CreateNode: Invalid argument\n");
        return E_INVALIDARG;
    }
    const auto parent = AsNode(pParent);
    if (!parent) {
        Report(L"CMSDom::CreateNode: Failed to get IXMLDOMNodePtr\n");
        return E_POINTER;
    }
    // A document owns no document of its own; asking some parsers answers
    // with the document itself, which would turn this into a second root.
    DOMNodeType type = NODE_INVALID;
    parent->get_nodeType(&type);
    ComPtr<IXMLDOMDocument> owner;
    if (type != NODE_DOCUMENT) parent->get_ownerDocument(owner.GetAddressOf());
    if (!owner) {
        Report(L"CMSDom::CreateNode: Failed to get ownerDocument\n");
        return E_POINTER;
    }
    ComPtr<IXMLDOMElement> element;
    owner->createElement(name, element.GetAddressOf());
    if (!element) return S_OK;  // callers test the handed-out node

    ComPtr<IXMLDOMNode> appended;
    const HRESULT hr = parent->appendChild(element.Get(), appended.GetAddressOf());
    // A parent that cannot have children (a text node, say) must not look
    // like a success with a node that is in no tree.
    if (!appended) return FAILED(hr) ? hr : E_FAIL;
    if (ppNewNode) return HandOut(appended.Get(), ppNewNode);
    return S_OK;
}

HRESULT CMSDom::CreateValueNode(IUnknown* pParent, BSTR name, BSTR text, IUnknown** ppNewNode) noexcept {
    ComPtr<IUnknown> node;
    const HRESULT hr = CreateNode(pParent, name, node.GetAddressOf());
    if (node) {
        SetNodeValueInternal(node.Get(), text);
        if (ppNewNode) *ppNewNode = node.Detach();
    }
    return hr;
}

HRESULT CMSDom::CreateValueNode(IUnknown* pParent, BSTR name, LONG value) noexcept {
    ComPtr<IUnknown> node;
    const HRESULT hr = CreateNode(pParent, name, node.GetAddressOf());
    if (node) return SetNodeValue(node.Get(), value);
    return hr;
}

HRESULT CMSDom::SetNodeValueInternal(IUnknown* pNode, BSTR text) noexcept {
    const auto node = AsNode(pNode);
    if (!node) {
        Report(L"CMSDom::SetNodeValue: Failed to get IXMLDOMNodePtr\n");
        return E_FAIL;
    }
    if (node->put_text(text) != S_OK) {
        Report(L"CMSDom::SetNodeValueInternal: put_text FAILED!\n");
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CMSDom::SetNodeValue(IUnknown* pNode, BSTR text) noexcept {
    return SetNodeValueInternal(pNode, text);
}

HRESULT CMSDom::SetNodeValue(IUnknown* pNode, LONG value) noexcept {
    wchar_t digits[16] = {};
    std::swprintf(digits, std::size(digits), L"%ld", static_cast<long>(value));
    Bstr text(digits);
    if (!text.get()) return E_OUTOFMEMORY;
    return SetNodeValueInternal(pNode, text.get());
}

HRESULT CMSDom::SetChildNodeValue(IUnknown* pParent, BSTR childName, BSTR text, IUnknown** ppChild) noexcept {
    ComPtr<IUnknown> child;
    SelectSingleChild(pParent, childName, child.GetAddressOf());
    HRESULT hr;
    if (child) {
        hr = SetNodeValue(child.Get(), text);
    } else {
        hr = CreateValueNode(pParent, childName, text, child.GetAddressOf());
    }
    if (ppChild && child) *ppChild = child.Detach();
    return hr;
}

HRESULT CMSDom::SetChildNodeValue(IUnknown* pParent, BSTR childName, LONG value) noexcept {
    ComPtr<IUnknown> child;
    SelectSingleChild(pParent, childName, child.GetAddressOf());
    if (child) return SetNodeValue(child.Get(), value);
    return CreateValueNode(pParent, childName, value);
}

// ---------------------------------------------------------------- navigating and reading

HRESULT CMSDom::GetRootNode(IUnknown* pDoc, IUnknown** ppRoot) noexcept {
    const auto doc = AsDocument(pDoc);
    if (!doc) {
        Report(L"CMSDom::GetRootNode: can not get IXMLDOMDocument!\n");
        return E_FAIL;
    }
    ComPtr<IXMLDOMElement> root;
    doc->get_documentElement(root.GetAddressOf());
    if (!root) return E_FAIL;
    return HandOut(root.Get(), ppRoot);
}

HRESULT CMSDom::SelectSingleChild(IUnknown* pNode, BSTR path, IUnknown** ppChild) noexcept {
    if (!pNode || IsEmpty(path) || !ppChild) {
        Report(L"CMSDom::SelectSingleChild: Invalid Argument\n");
        return E_INVALIDARG;
    }
    const auto node = AsNode(pNode);
    if (!node) {
        Report(L"CMSDom::SelectSingleChild: Failed to get IXMLDOMNodePtr\n");
        return E_FAIL;
    }
    ComPtr<IXMLDOMNode> match;
    // No match is S_FALSE from the parser: absence, reported as E_FAIL.
    if (node->selectSingleNode(path, match.GetAddressOf()) != S_OK || !match) return E_FAIL;
    const HRESULT hr = HandOut(match.Get(), ppChild);
    if (FAILED(hr)) Report(L"CMSDom::SelectSingleChild: Failed to QueryInterface of IUnknown\n");
    return hr;
}

HRESULT CMSDom::GetNodeList(IUnknown* pNode, BSTR path, IUnknown** ppList) noexcept {
    if (!pNode || IsEmpty(path) || !ppList) {
        Report(L"CMSDom::GetNodeList: Invalid argument\n");
        return E_INVALIDARG;
    }
    const auto node = AsNode(pNode);
    if (!node) {
        Report(L"CMSDom::GetNodeList: can not get IXMLDOMNodePtr\n");
        return E_FAIL;
    }
    ComPtr<IXMLDOMNodeList> list;
    node->selectNodes(path, list.GetAddressOf());
    if (!list) return E_FAIL;  // a path the parser cannot evaluate
    const HRESULT hr = HandOut(list.Get(), ppList);
    if (FAILED(hr)) Report(L"CMSDom::GetNodeList: Failed to QueryInterface of IUnknown\n");
    return hr;
}

HRESULT CMSDom::GetChildNodes(IUnknown* pNode, IUnknown** ppList) noexcept {
    if (!ppList) {
        Report(L"CMSDom::GetChildNodes: input para is NULL!\n");
        return E_POINTER;
    }
    const auto node = AsNode(pNode);
    if (!node) {
        Report(L"CMSDom::GetChildNodes: can not get IXMLDOMNode!\n");
        return E_POINTER;
    }
    ComPtr<IXMLDOMNodeList> list;
    if (node->get_childNodes(list.GetAddressOf()) != S_OK || !list) return E_FAIL;
    return HandOut(list.Get(), ppList);
}

LONG CMSDom::GetNodeListCount(IUnknown* pList) noexcept {
    if (!pList) {
        Report(L"CMSDom::GetNodeListCount: input para is NULL!\n");
        return -1;
    }
    const auto list = AsList(pList);
    if (!list) {
        Report(L"CMSDom::GetNodeListCount: NodeList pointer is NULL!\n");
        return -1;
    }
    long count = 0;
    if (FAILED(list->get_length(&count))) return -1;
    return count;
}

HRESULT CMSDom::GetNodeFromList(IUnknown* pList, LONG index, IUnknown** ppNode) noexcept {
    if (!pList || index < 0 || !ppNode) {
        Report(L"CMSDom::GetNodeFromList: Invalid argument\n");
        return E_INVALIDARG;
    }
    const auto list = AsList(pList);
    if (!list) {
        Report(L"CMSDom::GetNodeFromList: Can not get IXMLDOMNodeListPtr\n");
        return E_FAIL;
    }
    long count = 0;
    if (FAILED(list->get_length(&count))) count = 0;
    if (index >= count) {
        Report(L"CMSDom::GetNodeFromList: Node Index overflow\n");
        return E_FAIL;
    }
    ComPtr<IXMLDOMNode> node;
    list->get_item(index, node.GetAddressOf());
    if (!node) {
        Report(L"CMSDom::GetNodeFromList: Failed to get node from list\n");
        return E_FAIL;
    }
    const HRESULT hr = HandOut(node.Get(), ppNode);
    if (FAILED(hr)) Report(L"CMSDom::GetNodeFromList: Failed to QueryInterface of IUnknown\n");
    return hr;
}

HRESULT CMSDom::GetNodeValueInternal(IUnknown* pNode, BSTR* pText) noexcept {
    const auto node = AsNode(pNode);
    if (!node) return E_POINTER;
    if (!pText || node->get_text(pText) != S_OK) return E_FAIL;
    return S_OK;
}

HRESULT CMSDom::GetNodeValue(IUnknown* pNode, CStringEx& value) {
    if (!pNode) {
        Report(L"CMSDom::GetNodeValue: Invalid Argument\n");
        return E_POINTER;
    }
    Bstr text;
    const HRESULT hr = GetNodeValueInternal(pNode, text.receive());
    value = SUCCEEDED(hr) ? CStringEx(text.str()) : CStringEx();
    return hr;
}

HRESULT CMSDom::GetChildNodeValueInternal(IUnknown* pNode, BSTR path, BSTR* pText) noexcept {
    const auto node = AsNode(pNode);
    if (!node || !pText) return E_FAIL;
    ComPtr<IXMLDOMNode> match;
    if (node->selectSingleNode(path, match.GetAddressOf()) != S_OK || !match) return E_FAIL;
    if (match->get_text(pText) != S_OK) return E_FAIL;
    return S_OK;
}

HRESULT CMSDom::GetChildNodeValue(IUnknown* pNode, BSTR path, BOOL& value) noexcept {
    Bstr text;
    const HRESULT hr = GetChildNodeValueInternal(pNode, path, text.receive());
    if (!text.empty()) value = StringToBool(text.c_str());
    return hr;
}

HRESULT CMSDom::GetChildNodeValue(IUnknown* pNode, BSTR path, LONG& value) noexcept {
    Bstr text;
    const HRESULT hr = GetChildNodeValueInternal(pNode, path, text.receive());
    if (!text.empty()) value = StringToLong(text.c_str());
    return hr;
}

HRESULT CMSDom::GetChildNodeValue(IUnknown* pNode, BSTR path, ULONG& value) noexcept {
    Bstr text;
    const HRESULT hr = GetChildNodeValueInternal(pNode, path, text.receive());
    if (!text.empty()) value = std::wcstoul(text.c_str(), nullptr, 10);
    return hr;
}

HRESULT CMSDom::GetChildNodeValue(IUnknown* pNode, BSTR path, DOUBLE& value) noexcept {
    Bstr text;
    const HRESULT hr = GetChildNodeValueInternal(pNode, path, text.receive());
    if (!text.empty()) {
        double number = 0.0;
        std::swscanf(text.c_str(), L"%lf", &number);
        value = number;
    }
    return hr;
}

HRESULT CMSDom::GetChildNodeValue(IUnknown* pNode, BSTR path, CStringEx& value) {
    Bstr text;
    const HRESULT hr = GetChildNodeValueInternal(pNode, path, text.receive());
    value = CStringEx(text.str());
    return hr;
}

// ---------------------------------------------------------------- conversions

BOOL CMSDom::StringToBool(const wchar_t* text) noexcept {
    if (!text) return FALSE;
    struct Word {
        const wchar_t* text;
        BOOL value;
    };
    static constexpr Word kWords[] = {
        {L"yes", TRUE}, {L"no", FALSE}, {L"true", TRUE}, {L"false", FALSE}, {L"t", TRUE},
        {L"f", FALSE},  {L"y", TRUE},   {L"n", FALSE},   {L"1", TRUE},      {L"0", FALSE},
    };
    for (const auto& word : kWords) {
        if (EqualsNoCase(text, word.text)) return word.value;
    }
    return static_cast<BOOL>(StringToLong(text));
}

LONG CMSDom::StringToLong(const wchar_t* text) noexcept {
    if (!text) return 0;
    while (*text && std::iswspace(*text)) ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
    // Accumulate past the LONG range only as far as needed to clamp.
    long long magnitude = 0;
    constexpr long long kLimit = static_cast<long long>(LONG_MAX) + 1;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        magnitude = magnitude * 10 + (*text - L'0');
        if (magnitude > kLimit) magnitude = kLimit;
    }
    if (negative) return static_cast<LONG>(-magnitude);
    return magnitude > LONG_MAX ? LONG_MAX : static_cast<LONG>(magnitude);
}
