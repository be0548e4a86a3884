#pragma once
// The one gateway to XML. Parser objects travel as plain IUnknown pointers so
// that no caller depends on parser interfaces; each operation asks the object
// for the interface it needs and refuses objects of the wrong kind.
//
// Handed-out pointers carry one reference for the caller; input pointers and
// texts are borrowed. Failures are written to the debugger output.
#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

#include "StringEx.h"

class CMSDom {
public:
    CMSDom() = delete;

    // Creation and parsing
    static HRESULT MSDomCreate(IUnknown** ppDoc) noexcept;
    static VARIANT_BOOL LoadFromString(IUnknown* pDoc, BSTR xml) noexcept;
    // The document stays in *ppDoc even when parsing fails; the caller releases it.
    static HRESULT CreateFromString(BSTR xml, IUnknown** ppDoc) noexcept;
    static HRESULT GetSubXML(IUnknown* pNode, BSTR* pXml) noexcept;

    // Building a tree
    static HRESULT CreateRootNode(IUnknown* pDoc, BSTR bstrPath, BSTR text, IUnknown** ppRoot) noexcept;
    static HRESULT CreateNode(IUnknown* pParent, BSTR name, IUnknown** ppNewNode = nullptr) noexcept;
    static HRESULT CreateValueNode(IUnknown* pParent, BSTR name, BSTR text, IUnknown** ppNewNode = nullptr) noexcept;
    static HRESULT CreateValueNode(IUnknown* pParent, BSTR name, LONG value) noexcept;
    static HRESULT SetNodeValueInternal(IUnknown* pNode, BSTR text) noexcept;
    static HRESULT SetNodeValue(IUnknown* pNode, BSTR text) noexcept;
    static HRESULT SetNodeValue(IUnknown* pNode, LONG value) noexcept;
    static HRESULT SetChildNodeValue(IUnknown* pParent, BSTR childName, BSTR text, IUnknown** ppChild = nullptr) noexcept;
    static HRESULT SetChildNodeValue(IUnknown* pParent, BSTR childName, LONG value) noexcept;

    // Navigating and reading
    static HRESULT GetRootNode(IUnknown* pDoc, IUnknown** ppRoot) noexcept;
    static HRESULT SelectSingleChild(IUnknown* pNode, BSTR path, IUnknown** ppChild) noexcept;
    static HRESULT GetNodeList(IUnknown* pNode, BSTR path, IUnknown** ppList) noexcept;
    static HRESULT GetChildNodes(IUnknown* pNode, IUnknown** ppList) noexcept;
    static LONG GetNodeListCount(IUnknown* pList) noexcept;
    static HRESULT GetNodeFromList(IUnknown* pList, LONG index, IUnknown** ppNode) noexcept;
    static HRESULT GetNodeValueInternal(IUnknown* pNode, BSTR* pText) noexcept;
    static HRESULT GetNodeValue(IUnknown* pNode, CStringEx& value);
    static HRESULT GetChildNodeValueInternal(IUnknown* pNode, BSTR path, BSTR* pText) noexcept;
    // The number forms convert only a non-empty text and otherwise leave the
    // output as it was, so callers can preset a default.
    static HRESULT GetChildNodeValue(IUnknown* pNode, BSTR path, BOOL& value) noexcept;
    static HRESULT GetChildNodeValue(IUnknown* pNode, BSTR path, LONG& value) noexcept;
    static HRESULT GetChildNodeValue(IUnknown* pNode, BSTR path, ULONG& value) noexcept;
    static HRESULT GetChildNodeValue(IUnknown* pNode, BSTR path, DOUBLE& value) noexcept;
    static HRESULT GetChildNodeValue(IUnknown* pNode, BSTR path, CStringEx& value);

    static BOOL StringToBool(const wchar_t* text) noexcept;
    // Leading white space, an optional sign, decimal digits up to the first
    // other character; 0 without digits, clamped to the LONG range.
    static LONG StringToLong(const wchar_t* text) noexcept;
};
