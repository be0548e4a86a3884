#pragma once
// MSXML 3 identifiers that the MinGW headers declare without __uuidof support.
#include <msxml2.h>

#include "QkInterface.h"

#define QK_DOM_IID(type, l) QK_DECLARE_UUID(type, l, 0x7B36, 0x11D2, 0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60)
QK_DOM_IID(IXMLDOMNode, 0x2933BF80)
QK_DOM_IID(IXMLDOMDocument, 0x2933BF81)
QK_DOM_IID(IXMLDOMNodeList, 0x2933BF82)
QK_DOM_IID(IXMLDOMNamedNodeMap, 0x2933BF83)
QK_DOM_IID(IXMLDOMCharacterData, 0x2933BF84)
QK_DOM_IID(IXMLDOMAttribute, 0x2933BF85)
QK_DOM_IID(IXMLDOMElement, 0x2933BF86)
QK_DOM_IID(IXMLDOMText, 0x2933BF87)
QK_DOM_IID(IXMLDOMDocument2, 0x2933BF95)
#undef QK_DOM_IID
QK_DECLARE_UUID(IXMLDOMParseError, 0x3EFAA426, 0x272F, 0x11D2, 0x83, 0x6F, 0x00, 0x00, 0xF8, 0x7A, 0x77, 0x82)

// The version-3 DOM document class.
inline constexpr CLSID kClsidDomDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};
