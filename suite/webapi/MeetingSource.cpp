#include "webapi/MeetingSource.h"

#include <wrl/client.h>

#include <algorithm>
#include <cwchar>

#include "ComHolders.h"
#include "MsxmlIds.h"

using Microsoft::WRL::ComPtr;

namespace WebApi {
namespace {


DATE StartOf(IXMLDOMNode* meeting) {
    ComPtr<IXMLDOMNode> startNode;
    Bstr path(L"startTime");
    if (meeting->selectSingleNode(path.get(), &startNode) != S_OK || !startNode) return 0.0;
    Bstr text;
    if (FAILED(startNode->get_text(text.receive()))) return 0.0;
    double value = 0.0;
    if (std::swscanf(text.c_str(), L"%lf", &value) != 1) return 0.0;
    return value;
}
}  // namespace

std::vector<MeetingEntry> ReadStore(const std::wstring& path) {
    std::vector<MeetingEntry> meetings;
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(::CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                  reinterpret_cast<void**>(document.GetAddressOf()))))
        return meetings;
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    Variant file(path);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (FAILED(document->load(file.get(), &loaded)) || loaded != VARIANT_TRUE) return meetings;

    ComPtr<IXMLDOMElement> root;
    if (document->get_documentElement(&root) != S_OK || !root) return meetings;
    Bstr rootName;
    if (FAILED(root->get_nodeName(rootName.receive())) || ::_wcsicmp(rootName.c_str(), L"meetings") != 0)
        return meetings;

    ComPtr<IXMLDOMNodeList> children;
    if (FAILED(root->get_childNodes(&children)) || !children) return meetings;
    long count = 0;
    children->get_length(&count);
    for (long i = 0; i < count; ++i) {
        ComPtr<IXMLDOMNode> child;
        if (children->get_item(i, &child) != S_OK || !child) continue;
        DOMNodeType type = NODE_INVALID;
        if (FAILED(child->get_nodeType(&type)) || type != NODE_ELEMENT) continue;
        Bstr markup;
        if (FAILED(child->get_xml(markup.receive()))) continue;
        meetings.push_back({StartOf(child.Get()), markup.str()});
    }
    return meetings;
}

std::wstring BuildMeetingsDocument(const std::vector<MeetingEntry>& meetings, DATE from, DATE to) {
    std::vector<const MeetingEntry*> inRange;
    for (const MeetingEntry& meeting : meetings)
        if (meeting.start >= from && meeting.start <= to) inRange.push_back(&meeting);
    if (inRange.empty()) return {};
    std::stable_sort(inRange.begin(), inRange.end(),
                     [](const MeetingEntry* a, const MeetingEntry* b) { return a->start < b->start; });
    std::wstring document = L"<meetings>";
    for (const MeetingEntry* meeting : inRange) document += meeting->markup;
    document += L"</meetings>";
    return document;
}

std::wstring FormatDate(DATE value) {
    wchar_t text[64] = {};
    std::swprintf(text, std::size(text), L"%.8f", value);
    return text;
}
}  // namespace WebApi
