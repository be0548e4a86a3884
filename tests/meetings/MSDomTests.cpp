// The XML helper against real MSXML documents, with the debugger output it
// writes captured and checked.
#include <gtest/gtest.h>
#include <msxml2.h>
#include <wrl/client.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ComHolders.h"
#include "UniqueHandle.h"
#include "MSDom.h"
#include "support/DebugOutput.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;
using testsupport::DebugOutputCapture;
using Texts = std::vector<std::wstring>;

namespace {
ComPtr<IUnknown> Parse(const wchar_t* xml) {
    ComPtr<IUnknown> doc;
    EXPECT_EQ(S_OK, CMSDom::CreateFromString(Bstr(xml).get(), doc.GetAddressOf())) << xml;
    return doc;
}

ComPtr<IUnknown> Select(IUnknown* from, const wchar_t* path) {
    ComPtr<IUnknown> node;
    CMSDom::SelectSingleChild(from, Bstr(path).get(), node.GetAddressOf());
    return node;
}

std::wstring Text(IUnknown* node) {
    CStringEx value = L"<unset>";
    CMSDom::GetNodeValue(node, value);
    return value.str();
}

std::wstring Xml(IUnknown* node) {
    Bstr xml;
    EXPECT_EQ(S_OK, CMSDom::GetSubXML(node, xml.receive()));
    return xml.str();
}

// Markup without the line breaks and tabs some serialisers put between
// elements; the trees built here hold no white space of their own.
std::wstring Compact(IUnknown* node) {
    std::wstring xml = Xml(node);
    std::erase_if(xml, [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\t'; });
    return xml;
}

ComPtr<IXMLDOMDocument> AsDocument(IUnknown* object) {
    ComPtr<IXMLDOMDocument> doc;
    if (object) object->QueryInterface(IID_IXMLDOMDocument, reinterpret_cast<void**>(doc.GetAddressOf()));
    return doc;
}

// An account document shaped like the ones the settings service hands out.
constexpr wchar_t kAccount[] =
    L"<Account>\n"
    L"  <Site type=\"main\">\n"
    L"    <SiteName>alpha</SiteName>\n"
    L"    <Options><Remember>Yes</Remember><Retries>  -42 tries</Retries></Options>\n"
    L"  </Site>\n"
    L"  <Site type=\"backup\"><SiteName>beta</SiteName></Site>\n"
    L"  <Empty></Empty>\n"
    L"  <Rate>12.5</Rate><Word>abc</Word><Big>4294967295</Big>\n"
    L"</Account>";
}  // namespace

// Each typed read as (result, value) from an output that held `start`.
template <typename T>
std::pair<HRESULT, T> Read(IUnknown* from, const wchar_t* path, T start) {
    const HRESULT hr = CMSDom::GetChildNodeValue(from, Bstr(path).get(), start);
    return {hr, start};
}

TEST(MSDomRead, TypedFormsConvertTextAndKeepTheOldValueWithoutItSilently) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    IUnknown* d = doc.Get();
    DebugOutputCapture debug;
    using L = std::pair<HRESULT, LONG>;
    EXPECT_EQ(L(E_FAIL, 7), Read(d, L"//Missing", LONG{7}));
    EXPECT_EQ(L(S_OK, 7), Read(d, L"//Empty", LONG{7}));
    EXPECT_EQ(L(S_OK, -42), Read(d, L"//Retries", LONG{7}));
    EXPECT_EQ(L(S_OK, 0), Read(d, L"//Word", LONG{7}));
    EXPECT_EQ(L(S_OK, 12), Read(d, L"//Rate", LONG{7}));
    EXPECT_EQ(std::pair(S_OK, ULONG{4294967295u}), Read(d, L"//Big", ULONG{0}));
    EXPECT_EQ(std::pair(E_FAIL, 3.5), Read(d, L"//Missing", DOUBLE{3.5}));
    EXPECT_EQ(std::pair(S_OK, 12.5), Read(d, L"//Rate", DOUBLE{1.0}));
    EXPECT_EQ(std::pair(S_OK, BOOL{4}), Read(d, L"//Empty", BOOL{4}));
    EXPECT_EQ(std::pair(S_OK, BOOL{TRUE}), Read(d, L"//Remember", BOOL{FALSE}));
    IUnknown* const untouched = reinterpret_cast<IUnknown*>(static_cast<uintptr_t>(0x1234));
    IUnknown* child = untouched;
    EXPECT_EQ(E_FAIL, CMSDom::SelectSingleChild(d, Bstr(L"//Missing").get(), &child));
    EXPECT_EQ(untouched, child);
    // The string form always overwrites.
    auto [hr, text] = Read(d, L"//Missing", CStringEx(L"old"));
    EXPECT_EQ(E_FAIL, hr);
    EXPECT_EQ(L"", text.str());
    EXPECT_EQ(L"backup", Read(d, L"//Site[SiteName='beta']/@type", CStringEx()).second.str());
    EXPECT_EQ(L"onetwothreefour", Text(Select(Parse(L"<a>one<b>two<c>three</c></b>four</a>").Get(), L"a").Get()));
    EXPECT_EQ(Texts{}, debug.Take());
}

TEST(MSDomRead, LongFollowsTheAtolRule) {
    struct Case {
        const wchar_t* text;
        LONG value;
    } const cases[] = {
        {L"+15", 15},      {L" \t\n-8x", -8}, {L"- 8", 0},          {L"x8", 0},
        {L"-2147483648", LONG_MIN}, {L"99999999999", LONG_MAX}, {L"-99999999999", LONG_MIN},
        {L"\x0661\x0662", 0},  // Arabic-Indic digits
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, CMSDom::StringToLong(c.text)) << c.text;
    EXPECT_EQ(0, CMSDom::StringToLong(nullptr));
}

TEST(MSDomRead, StringToBoolWordsAndNumbers) {
    for (const wchar_t* yes : {L"yes", L"yEs", L"TrUe", L"t", L"Y", L"1"}) EXPECT_EQ(TRUE, CMSDom::StringToBool(yes)) << yes;
    for (const wchar_t* no : {L"nO", L"fAlSe", L"F", L"n", L"0", L"on", L" yes", L"yess", L""})
        EXPECT_EQ(FALSE, CMSDom::StringToBool(no)) << no;
    EXPECT_EQ(-3, CMSDom::StringToBool(L"-3"));
    EXPECT_EQ(2, CMSDom::StringToBool(L"2 yes"));
    EXPECT_EQ(0, CMSDom::StringToBool(nullptr));
}

// Every refused argument and every object of the wrong kind: the fixed code
// and the fixed message (or none), and no output written.
TEST(MSDomRefusals, EachAnswersWithItsCodeAndMessage) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    ComPtr<IUnknown> element = Select(doc.Get(), L"//Site");
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), Bstr(L"//SiteName").get(), list.GetAddressOf()));
    const Bstr path(L"//Site"), empty(L""), name(L"n");
    IUnknown* const d = doc.Get();
    IUnknown* const e = element.Get();
    IUnknown* const l = list.Get();
    IUnknown* out = nullptr;
    Bstr text;
    CStringEx value = L"kept";

    struct Refusal {
        int line;
        std::function<long()> call;
        long result;
        const wchar_t* message;  // null: nothing is written
    };
    const Refusal refusals[] = {
        {__LINE__, [&] { return CMSDom::MSDomCreate(nullptr); }, E_INVALIDARG, L"CMSDom::MSDomCreate: Invalid argument\n"},
        {__LINE__, [&] { return long{CMSDom::LoadFromString(nullptr, path.get())}; }, 0, L"CMSDom::LoadFromString:Invalid argument\n"},
        {__LINE__, [&] { return long{CMSDom::LoadFromString(l, path.get())}; }, 0, L"CMSDom::LoadFromString:Failed to get IXMLDOMDocumentPtr\n"},
        {__LINE__, [&] { return CMSDom::GetSubXML(l, text.receive()); }, E_INVALIDARG, L"CMSDom::GetSubXML:: Invalid pointer!\n"},
        {__LINE__, [&] { return CMSDom::GetSubXML(e, nullptr); }, E_FAIL, L"CMSDom::GetSubXML:: get_xml Failed!\n"},
        {__LINE__, [&] { return CMSDom::CreateRootNode(e, name.get(), nullptr, &out); }, E_FAIL, L"CMSDom::CreateRootNode: can not get IXMLDOMDocument or bstrPath is empty!\n"},
        {__LINE__, [&] { return CMSDom::CreateNode(e, empty.get(), &out); }, E_INVALIDARG, L"CMSDom::CreateNode: Invalid argument\n"},
        {__LINE__, [&] { return CMSDom::CreateNode(l, name.get(), &out); }, E_POINTER, L"CMSDom::CreateNode: Failed to get IXMLDOMNodePtr\n"},
        {__LINE__, [&] { return CMSDom::CreateNode(d, name.get(), &out); }, E_POINTER, L"CMSDom::CreateNode: Failed to get ownerDocument\n"},
        {__LINE__, [&] { return CMSDom::SetNodeValue(l, name.get()); }, E_FAIL, L"CMSDom::SetNodeValue: Failed to get IXMLDOMNodePtr\n"},
        {__LINE__, [&] { return CMSDom::GetRootNode(l, &out); }, E_FAIL, L"CMSDom::GetRootNode: can not get IXMLDOMDocument!\n"},
        {__LINE__, [&] { return CMSDom::SelectSingleChild(d, path.get(), nullptr); }, E_INVALIDARG, L"CMSDom::SelectSingleChild: Invalid Argument\n"},
        {__LINE__, [&] { return CMSDom::SelectSingleChild(l, path.get(), &out); }, E_FAIL, L"CMSDom::SelectSingleChild: Failed to get IXMLDOMNodePtr\n"},
        {__LINE__, [&] { return CMSDom::GetNodeList(d, path.get(), nullptr); }, E_INVALIDARG, L"CMSDom::GetNodeList: Invalid argument\n"},
        {__LINE__, [&] { return CMSDom::GetNodeList(l, path.get(), &out); }, E_FAIL, L"CMSDom::GetNodeList: can not get IXMLDOMNodePtr\n"},
        {__LINE__, [&] { return CMSDom::GetChildNodes(d, nullptr); }, E_POINTER, L"CMSDom::GetChildNodes: input para is NULL!\n"},
        {__LINE__, [&] { return CMSDom::GetChildNodes(l, &out); }, E_POINTER, L"CMSDom::GetChildNodes: can not get IXMLDOMNode!\n"},
        {__LINE__, [&] { return CMSDom::GetNodeListCount(nullptr); }, -1, L"CMSDom::GetNodeListCount: input para is NULL!\n"},
        {__LINE__, [&] { return CMSDom::GetNodeListCount(d); }, -1, L"CMSDom::GetNodeListCount: NodeList pointer is NULL!\n"},
        {__LINE__, [&] { return CMSDom::GetNodeFromList(l, 2, &out); }, E_FAIL, L"CMSDom::GetNodeFromList: Node Index overflow\n"},
        {__LINE__, [&] { return CMSDom::GetNodeFromList(l, -1, &out); }, E_INVALIDARG, L"CMSDom::GetNodeFromList: Invalid argument\n"},
        {__LINE__, [&] { return CMSDom::GetNodeFromList(d, 0, &out); }, E_FAIL, L"CMSDom::GetNodeFromList: Can not get IXMLDOMNodeListPtr\n"},
        {__LINE__, [&] { return CMSDom::GetNodeValue(nullptr, value); }, E_POINTER, L"CMSDom::GetNodeValue: Invalid Argument\n"},
        {__LINE__, [&] { return CMSDom::GetNodeValueInternal(l, text.receive()); }, E_POINTER, nullptr},
        {__LINE__, [&] { return CMSDom::GetChildNodeValueInternal(l, path.get(), text.receive()); }, E_FAIL, nullptr},
    };
    DebugOutputCapture debug;
    for (const Refusal& refusal : refusals) {
        EXPECT_EQ(refusal.result, refusal.call()) << "line " << refusal.line;
        const Texts expected = refusal.message ? Texts{refusal.message} : Texts{};
        EXPECT_EQ(expected, debug.Take()) << "line " << refusal.line;
    }
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(L"kept", value.str());
    // Not a node: GetNodeValue empties the text.
    EXPECT_EQ(E_POINTER, CMSDom::GetNodeValue(l, value));
    EXPECT_EQ(L"", value.str());
}

TEST(MSDomBuild, RootNodeOnAnEmptyDocument) {
    // A text longer than one character becomes the root's text; one character does not.
    for (const auto& [text, xml] : {std::pair(L"ok", L"<Response>ok</Response>"), std::pair(L"x", L"<Response/>")}) {
        ComPtr<IUnknown> doc, root, fromDoc;
        ASSERT_EQ(S_OK, CMSDom::MSDomCreate(doc.GetAddressOf()));
        ASSERT_EQ(S_OK, CMSDom::CreateRootNode(doc.Get(), Bstr(L"Response").get(), Bstr(text).get(),
                                               root.GetAddressOf()));
        EXPECT_EQ(xml, Compact(root.Get()));
        ASSERT_EQ(S_OK, CMSDom::GetRootNode(doc.Get(), fromDoc.GetAddressOf()));
        EXPECT_EQ(xml, Compact(fromDoc.Get()));
    }
}

TEST(MSDomBuild, CreateNodeAppendsAsLastChild) {
    ComPtr<IUnknown> doc = Parse(L"<r><x/></r>");
    ComPtr<IUnknown> r = Select(doc.Get(), L"r");
    ComPtr<IUnknown> made;
    ASSERT_EQ(S_OK, CMSDom::CreateNode(r.Get(), Bstr(L"y").get(), made.GetAddressOf()));
    ASSERT_TRUE(made);
    EXPECT_EQ(S_OK, CMSDom::CreateNode(r.Get(), Bstr(L"z").get()));
    EXPECT_EQ(S_OK, CMSDom::CreateValueNode(r.Get(), Bstr(L"t").get(), Bstr(L"a&b").get()));
    EXPECT_EQ(S_OK, CMSDom::CreateValueNode(r.Get(), Bstr(L"n").get(), LONG{-12}));
    EXPECT_EQ(S_OK, CMSDom::SetNodeValue(made.Get(), LONG{2147483647}));
    EXPECT_EQ(L"<r><x/><y>2147483647</y><z/><t>a&amp;b</t><n>-12</n></r>", Compact(r.Get()));
}

TEST(MSDomBuild, HandedOutObjectsCarryExactlyOneReference) {
    ComPtr<IUnknown> doc = Parse(L"<r><a/><a/></r>");
    const Bstr path(L"//a");
    // What a lookup straight through the parser leaves on an object is the
    // baseline: the helper may add the caller's reference and nothing more.
    ComPtr<IXMLDOMNode> direct;
    ASSERT_EQ(S_OK, AsDocument(doc.Get())->selectSingleNode(path.get(), direct.GetAddressOf()));
    const ULONG baseline = testsupport::RefCount(direct.Get());
    direct.Reset();

    ComPtr<IUnknown> node, list, made;
    ASSERT_EQ(S_OK, CMSDom::SelectSingleChild(doc.Get(), path.get(), node.GetAddressOf()));
    EXPECT_EQ(baseline, testsupport::RefCount(node.Get()));
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), path.get(), list.GetAddressOf()));
    ASSERT_EQ(S_OK, CMSDom::GetNodeFromList(list.Get(), 1, node.ReleaseAndGetAddressOf()));
    EXPECT_EQ(baseline, testsupport::RefCount(node.Get()));
    ASSERT_EQ(S_OK, CMSDom::CreateNode(Select(doc.Get(), L"r").Get(), Bstr(L"b").get(), made.GetAddressOf()));
    EXPECT_EQ(baseline, testsupport::RefCount(made.Get()));
}

// Phone requests arrive from the network: a document must not make the parser
// read a local file through an external entity.
TEST(MSDomCreation, ExternalEntitiesAreNotFetched) {
    testsupport::TempFolder folder;
    const std::wstring secretPath = folder.Path() + L"secret.txt";
    {
        UniqueFileHandle file(::CreateFileW(secretPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), "TOP-SECRET-CONTENT", 18, &written, nullptr));
    }
    std::wstring url = L"file:///" + secretPath;
    std::replace(url.begin(), url.end(), L'\\', L'/');
    ComPtr<IUnknown> doc;
    CMSDom::CreateFromString(
        Bstr(L"<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x SYSTEM \"" + url + L"\">]><a>[&x;]</a>").get(),
        doc.GetAddressOf());
    ASSERT_TRUE(doc);
    EXPECT_EQ(std::wstring::npos, Xml(doc.Get()).find(L"TOP-SECRET"));
}
