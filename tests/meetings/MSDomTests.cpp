// The XML helper against real MSXML documents, with the debugger output it
// writes captured and checked.
#include <gtest/gtest.h>
#include <msxml2.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "common/ComHolders.h"
#include "meetings/MSDom.h"
#include "support/DebugOutput.h"

using Microsoft::WRL::ComPtr;
using testsupport::DebugOutputCapture;
using Texts = std::vector<std::wstring>;

namespace {
constexpr HRESULT kFail = E_FAIL;

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
    std::wstring value = L"<unset>";
    CMSDom::GetNodeValue(node, value);
    return value;
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

// Some parsers accept element names that are not XML names; what the helper
// does with a refused name can only be seen with one that refuses.
bool ParserRefusesName(IUnknown* doc, const wchar_t* name) {
    ComPtr<IXMLDOMElement> element;
    AsDocument(doc)->createElement(Bstr(name).get(), element.GetAddressOf());
    return !element;
}

ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

LONG Count(IUnknown* from, const wchar_t* path) {
    ComPtr<IUnknown> list;
    if (FAILED(CMSDom::GetNodeList(from, Bstr(path).get(), list.GetAddressOf()))) return -2;
    return CMSDom::GetNodeListCount(list.Get());
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

// ---------------------------------------------------------------- creation and parsing

TEST(MSDomCreation, CreatesParsesAndSerialises) {
    ComPtr<IUnknown> doc;
    ASSERT_EQ(S_OK, CMSDom::MSDomCreate(doc.GetAddressOf()));
    ASSERT_TRUE(doc);
    EXPECT_EQ(VARIANT_TRUE, CMSDom::LoadFromString(doc.Get(), Bstr(L"<a><b>x</b></a>").get()));
    ComPtr<IUnknown> b = Select(doc.Get(), L"/a/b");
    ASSERT_TRUE(b);
    EXPECT_EQ(L"<b>x</b>", Xml(b.Get()));
    // A second load replaces the content rather than adding to it.
    EXPECT_EQ(VARIANT_TRUE, CMSDom::LoadFromString(doc.Get(), Bstr(L"<c/>").get()));
    EXPECT_FALSE(Select(doc.Get(), L"//b"));
    EXPECT_NE(std::wstring::npos, Xml(doc.Get()).find(L"<c/>"));
}

TEST(MSDomCreation, RefusedArgumentsAreReported) {
    DebugOutputCapture debug;
    EXPECT_EQ(E_INVALIDARG, CMSDom::MSDomCreate(nullptr));
    EXPECT_EQ(Texts{L"CMSDom::MSDomCreate: Invalid argument\n"}, debug.Take());

    ComPtr<IUnknown> doc = Parse(L"<a/>");
    debug.Take();
    EXPECT_EQ(VARIANT_FALSE, CMSDom::LoadFromString(nullptr, Bstr(L"<a/>").get()));
    EXPECT_EQ(VARIANT_FALSE, CMSDom::LoadFromString(doc.Get(), nullptr));
    EXPECT_EQ(VARIANT_FALSE, CMSDom::LoadFromString(doc.Get(), Bstr(L"").get()));
    EXPECT_EQ((Texts{L"CMSDom::LoadFromString:Invalid argument\n", L"CMSDom::LoadFromString:Invalid argument\n",
                     L"CMSDom::LoadFromString:Invalid argument\n"}),
              debug.Take());
    // An element is a node but not a document.
    ComPtr<IUnknown> a = Select(doc.Get(), L"a");
    ASSERT_TRUE(a);
    EXPECT_EQ(VARIANT_FALSE, CMSDom::LoadFromString(a.Get(), Bstr(L"<b/>").get()));
    EXPECT_EQ(Texts{L"CMSDom::LoadFromString:Failed to get IXMLDOMDocumentPtr\n"}, debug.Take());
    EXPECT_NE(std::wstring::npos, Xml(doc.Get()).find(L"<a/>"));
}

TEST(MSDomCreation, MalformedOrEmptyTextStillHandsOutTheDocument) {
    for (const wchar_t* text : {L"<a><b></a>", L"", L"plain words", L"<a/><b/>"}) {
        ComPtr<IUnknown> doc;
        EXPECT_EQ(kFail, CMSDom::CreateFromString(Bstr(text).get(), doc.GetAddressOf())) << text;
        ASSERT_TRUE(doc) << text;
        // It is a usable, empty document.
        ComPtr<IUnknown> root;
        EXPECT_EQ(kFail, CMSDom::GetRootNode(doc.Get(), root.GetAddressOf()));
        EXPECT_FALSE(root);
        EXPECT_EQ(VARIANT_TRUE, CMSDom::LoadFromString(doc.Get(), Bstr(L"<ok/>").get()));
    }
    EXPECT_EQ(E_INVALIDARG, CMSDom::CreateFromString(Bstr(L"<a/>").get(), nullptr));
}

TEST(MSDomCreation, SubXmlRefusesWhatIsNotANode) {
    DebugOutputCapture debug;
    ComPtr<IUnknown> doc = Parse(L"<a><b/><b/></a>");
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), Bstr(L"//b").get(), list.GetAddressOf()));
    debug.Take();
    Bstr xml;
    EXPECT_EQ(E_INVALIDARG, CMSDom::GetSubXML(list.Get(), xml.receive()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::GetSubXML(nullptr, xml.receive()));
    EXPECT_EQ((Texts{L"CMSDom::GetSubXML:: Invalid pointer!\n", L"CMSDom::GetSubXML:: Invalid pointer!\n"}),
              debug.Take());
    EXPECT_EQ(kFail, CMSDom::GetSubXML(doc.Get(), nullptr));
    EXPECT_EQ(Texts{L"CMSDom::GetSubXML:: get_xml Failed!\n"}, debug.Take());
}

// ---------------------------------------------------------------- navigating

TEST(MSDomSelect, LocationPathsFindTheFirstMatchInDocumentOrder) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    EXPECT_EQ(L"alpha", Text(Select(doc.Get(), L"//Account//SiteName").Get()));
    EXPECT_EQ(L"beta", Text(Select(doc.Get(), L"//Site[@type='backup']/SiteName").Get()));
    EXPECT_EQ(L"main", Text(Select(doc.Get(), L"/Account/Site/@type").Get()));
    ComPtr<IUnknown> site = Select(doc.Get(), L"//Site");
    ASSERT_TRUE(site);
    EXPECT_EQ(L"Yes", Text(Select(site.Get(), L"Options/Remember").Get()));
    // Relative paths do not climb out of the node they start from.
    EXPECT_FALSE(Select(site.Get(), L"Rate"));
    EXPECT_EQ(2, Count(doc.Get(), L"//Account//SiteName"));
    EXPECT_EQ(1, Count(site.Get(), L".//SiteName"));
    EXPECT_EQ(0, Count(doc.Get(), L"//Nothing"));
}

TEST(MSDomSelect, AbsenceIsASilentFailureThatLeavesTheOutputAlone) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    DebugOutputCapture debug;
    IUnknown* untouched = reinterpret_cast<IUnknown*>(static_cast<uintptr_t>(0x1234));
    IUnknown* child = untouched;
    EXPECT_EQ(kFail, CMSDom::SelectSingleChild(doc.Get(), Bstr(L"//Missing").get(), &child));
    EXPECT_EQ(untouched, child);
    std::wstring text = L"old";
    EXPECT_EQ(kFail, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Site/@missing").get(), text));
    EXPECT_EQ(L"", text);
    EXPECT_EQ(Texts{}, debug.Take());
}

TEST(MSDomSelect, RefusedArgumentsAndObjectsAreReported) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), Bstr(L"//Site").get(), list.GetAddressOf()));
    DebugOutputCapture debug;
    ComPtr<IUnknown> out;
    const Bstr path(L"//Site");
    EXPECT_EQ(E_INVALIDARG, CMSDom::SelectSingleChild(nullptr, path.get(), out.GetAddressOf()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::SelectSingleChild(doc.Get(), Bstr(L"").get(), out.GetAddressOf()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::SelectSingleChild(doc.Get(), path.get(), nullptr));
    EXPECT_EQ(kFail, CMSDom::SelectSingleChild(list.Get(), path.get(), out.GetAddressOf()));
    const std::wstring invalidSelect = L"CMSDom::SelectSingleChild: Invalid Argument\n";
    EXPECT_EQ((Texts{invalidSelect, invalidSelect, invalidSelect,
                     L"CMSDom::SelectSingleChild: Failed to get IXMLDOMNodePtr\n"}),
              debug.Take());

    EXPECT_EQ(E_INVALIDARG, CMSDom::GetNodeList(nullptr, path.get(), out.GetAddressOf()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::GetNodeList(doc.Get(), nullptr, out.GetAddressOf()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::GetNodeList(doc.Get(), path.get(), nullptr));
    EXPECT_EQ(kFail, CMSDom::GetNodeList(list.Get(), path.get(), out.GetAddressOf()));
    const std::wstring invalidList = L"CMSDom::GetNodeList: Invalid argument\n";
    EXPECT_EQ((Texts{invalidList, invalidList, invalidList, L"CMSDom::GetNodeList: can not get IXMLDOMNodePtr\n"}),
              debug.Take());

    EXPECT_EQ(E_POINTER, CMSDom::GetChildNodes(doc.Get(), nullptr));
    EXPECT_EQ(E_POINTER, CMSDom::GetChildNodes(list.Get(), out.GetAddressOf()));
    EXPECT_EQ(E_POINTER, CMSDom::GetChildNodes(nullptr, out.GetAddressOf()));
    EXPECT_EQ((Texts{L"CMSDom::GetChildNodes: input para is NULL!\n", L"CMSDom::GetChildNodes: can not get IXMLDOMNode!\n",
                     L"CMSDom::GetChildNodes: can not get IXMLDOMNode!\n"}),
              debug.Take());

    EXPECT_EQ(kFail, CMSDom::GetRootNode(list.Get(), out.GetAddressOf()));
    EXPECT_EQ(Texts{L"CMSDom::GetRootNode: can not get IXMLDOMDocument!\n"}, debug.Take());
    EXPECT_FALSE(out);
}

TEST(MSDomLists, CountAndIndexAtTheEdges) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), Bstr(L"//SiteName").get(), list.GetAddressOf()));
    DebugOutputCapture debug;
    ASSERT_EQ(2, CMSDom::GetNodeListCount(list.Get()));
    ComPtr<IUnknown> node;
    ASSERT_EQ(S_OK, CMSDom::GetNodeFromList(list.Get(), 1, node.GetAddressOf()));
    EXPECT_EQ(L"beta", Text(node.Get()));
    ASSERT_EQ(S_OK, CMSDom::GetNodeFromList(list.Get(), 0, node.ReleaseAndGetAddressOf()));
    EXPECT_EQ(L"alpha", Text(node.Get()));
    EXPECT_EQ(Texts{}, debug.Take());

    ComPtr<IUnknown> none;
    EXPECT_EQ(kFail, CMSDom::GetNodeFromList(list.Get(), 2, none.GetAddressOf()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::GetNodeFromList(list.Get(), -1, none.GetAddressOf()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::GetNodeFromList(nullptr, 0, none.GetAddressOf()));
    EXPECT_EQ(E_INVALIDARG, CMSDom::GetNodeFromList(list.Get(), 0, nullptr));
    EXPECT_EQ(kFail, CMSDom::GetNodeFromList(doc.Get(), 0, none.GetAddressOf()));
    EXPECT_FALSE(none);
    const std::wstring invalid = L"CMSDom::GetNodeFromList: Invalid argument\n";
    EXPECT_EQ((Texts{L"CMSDom::GetNodeFromList: Node Index overflow\n", invalid, invalid, invalid,
                     L"CMSDom::GetNodeFromList: Can not get IXMLDOMNodeListPtr\n"}),
              debug.Take());

    EXPECT_EQ(-1, CMSDom::GetNodeListCount(nullptr));
    EXPECT_EQ(-1, CMSDom::GetNodeListCount(doc.Get()));
    EXPECT_EQ((Texts{L"CMSDom::GetNodeListCount: input para is NULL!\n",
                     L"CMSDom::GetNodeListCount: NodeList pointer is NULL!\n"}),
              debug.Take());

    // Nothing matched: an empty list, whose index 0 is already past the end.
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), Bstr(L"//Nothing").get(), list.ReleaseAndGetAddressOf()));
    EXPECT_EQ(0, CMSDom::GetNodeListCount(list.Get()));
    EXPECT_EQ(kFail, CMSDom::GetNodeFromList(list.Get(), 0, none.GetAddressOf()));
    EXPECT_EQ(Texts{L"CMSDom::GetNodeFromList: Node Index overflow\n"}, debug.Take());
}

TEST(MSDomLists, ChildNodesKeepWhiteSpaceText) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    ComPtr<IUnknown> site = Select(doc.Get(), L"//Site");
    ComPtr<IUnknown> children;
    ASSERT_EQ(S_OK, CMSDom::GetChildNodes(site.Get(), children.GetAddressOf()));
    // "\n    ", SiteName, "\n    ", Options, "\n  "
    ASSERT_EQ(5, CMSDom::GetNodeListCount(children.Get()));
    const wchar_t* const expected[] = {L"\n    ", L"alpha", L"\n    ", L"Yes  -42 tries", L"\n  "};
    for (LONG i = 0; i < 5; ++i) {
        ComPtr<IUnknown> child;
        ASSERT_EQ(S_OK, CMSDom::GetNodeFromList(children.Get(), i, child.GetAddressOf()));
        EXPECT_EQ(expected[i], Text(child.Get())) << i;
    }
}

// ---------------------------------------------------------------- reading values

TEST(MSDomRead, NodeTextJoinsAllDescendants) {
    ComPtr<IUnknown> doc = Parse(L"<a>one<b>two<c>three</c></b>four</a>");
    EXPECT_EQ(L"onetwothreefour", Text(Select(doc.Get(), L"a").Get()));
    DebugOutputCapture debug;
    std::wstring value = L"kept";
    EXPECT_EQ(E_POINTER, CMSDom::GetNodeValue(nullptr, value));
    EXPECT_EQ(L"kept", value);
    EXPECT_EQ(Texts{L"CMSDom::GetNodeValue: Invalid Argument\n"}, debug.Take());
    // Not a node: no message of its own, the text is emptied.
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetChildNodes(doc.Get(), list.GetAddressOf()));
    EXPECT_EQ(E_POINTER, CMSDom::GetNodeValue(list.Get(), value));
    EXPECT_EQ(L"", value);
    Bstr raw;
    EXPECT_EQ(E_POINTER, CMSDom::GetNodeValueInternal(list.Get(), raw.receive()));
    EXPECT_EQ(Texts{}, debug.Take());
}

TEST(MSDomRead, NumberFormsKeepTheOldValueWhenThereIsNoText) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    DebugOutputCapture debug;
    LONG number = 7;
    EXPECT_EQ(kFail, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Missing").get(), number));
    EXPECT_EQ(7, number);
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Empty").get(), number));
    EXPECT_EQ(7, number);
    ULONG unsignedNumber = 9;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Empty").get(), unsignedNumber));
    EXPECT_EQ(9u, unsignedNumber);
    DOUBLE real = 3.5;
    EXPECT_EQ(kFail, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Missing").get(), real));
    EXPECT_EQ(3.5, real);
    BOOL flag = 4;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Empty").get(), flag));
    EXPECT_EQ(4, flag);
    // The string form always overwrites.
    std::wstring text = L"old";
    EXPECT_EQ(kFail, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Missing").get(), text));
    EXPECT_EQ(L"", text);
    EXPECT_EQ(Texts{}, debug.Take());
}

TEST(MSDomRead, NumberFormsConvertText) {
    ComPtr<IUnknown> doc = Parse(kAccount);
    IUnknown* d = doc.Get();
    LONG number = 7;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Retries").get(), number));
    EXPECT_EQ(-42, number);
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Word").get(), number));
    EXPECT_EQ(0, number);
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Rate").get(), number));
    EXPECT_EQ(12, number);
    ULONG unsignedNumber = 0;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Big").get(), unsignedNumber));
    EXPECT_EQ(4294967295u, unsignedNumber);
    DOUBLE real = 1.0;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Rate").get(), real));
    EXPECT_DOUBLE_EQ(12.5, real);
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Word").get(), real));
    EXPECT_EQ(0.0, real);
    BOOL flag = FALSE;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Remember").get(), flag));
    EXPECT_EQ(TRUE, flag);
    std::wstring text;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(d, Bstr(L"//Site[SiteName='beta']/@type").get(), text));
    EXPECT_EQ(L"backup", text);
}

TEST(MSDomRead, LongFollowsTheAtolRule) {
    struct Case {
        const wchar_t* text;
        LONG value;
    } const cases[] = {
        {L"15", 15},           {L"+15", 15},         {L" \t\n-8x", -8},           {L"- 8", 0},
        {L"x8", 0},            {L"", 0},             {L"2147483647", 2147483647}, {L"-2147483648", LONG_MIN},
        {L"99999999999", LONG_MAX}, {L"-99999999999", LONG_MIN}, {L"\x0661\x0662", 0},  // Arabic-Indic digits
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, CMSDom::StringToLong(c.text)) << c.text;
    EXPECT_EQ(0, CMSDom::StringToLong(nullptr));
}

TEST(MSDomRead, StringToBoolWordsAndNumbers) {
    for (const wchar_t* yes : {L"yes", L"YES", L"yEs", L"true", L"TrUe", L"t", L"T", L"y", L"Y", L"1"})
        EXPECT_EQ(TRUE, CMSDom::StringToBool(yes)) << yes;
    for (const wchar_t* no : {L"no", L"No", L"nO", L"false", L"FALSE", L"fAlSe", L"f", L"F", L"n", L"N", L"0"})
        EXPECT_EQ(FALSE, CMSDom::StringToBool(no)) << no;
    EXPECT_EQ(5, CMSDom::StringToBool(L"5"));
    EXPECT_EQ(-3, CMSDom::StringToBool(L"-3"));
    EXPECT_EQ(2, CMSDom::StringToBool(L"2 yes"));
    EXPECT_EQ(0, CMSDom::StringToBool(L"on"));
    EXPECT_EQ(0, CMSDom::StringToBool(L" yes"));
    EXPECT_EQ(0, CMSDom::StringToBool(L"yess"));
    EXPECT_EQ(0, CMSDom::StringToBool(L""));
    EXPECT_EQ(0, CMSDom::StringToBool(nullptr));
}

// ---------------------------------------------------------------- building

TEST(MSDomBuild, RootNodeOnAnEmptyDocument) {
    ComPtr<IUnknown> doc;
    ASSERT_EQ(S_OK, CMSDom::MSDomCreate(doc.GetAddressOf()));
    ComPtr<IUnknown> root;
    ASSERT_EQ(S_OK, CMSDom::CreateRootNode(doc.Get(), Bstr(L"Response").get(), Bstr(L"").get(), root.GetAddressOf()));
    ASSERT_TRUE(root);
    EXPECT_EQ(L"<Response/>", Compact(root.Get()));
    ComPtr<IUnknown> fromDoc;
    ASSERT_EQ(S_OK, CMSDom::GetRootNode(doc.Get(), fromDoc.GetAddressOf()));
    EXPECT_EQ(L"<Response/>", Compact(fromDoc.Get()));

    // A text longer than one character becomes the root's text; one character does not.
    ComPtr<IUnknown> doc2;
    ASSERT_EQ(S_OK, CMSDom::MSDomCreate(doc2.GetAddressOf()));
    ASSERT_EQ(S_OK, CMSDom::CreateRootNode(doc2.Get(), Bstr(L"R").get(), Bstr(L"ok").get(), root.ReleaseAndGetAddressOf()));
    EXPECT_EQ(L"<R>ok</R>", Compact(root.Get()));
    ComPtr<IUnknown> doc3;
    ASSERT_EQ(S_OK, CMSDom::MSDomCreate(doc3.GetAddressOf()));
    ASSERT_EQ(S_OK, CMSDom::CreateRootNode(doc3.Get(), Bstr(L"R").get(), Bstr(L"x").get(), root.ReleaseAndGetAddressOf()));
    EXPECT_EQ(L"<R/>", Compact(root.Get()));

    // Without an output the element is still appended, but the call fails.
    ComPtr<IUnknown> doc4;
    ASSERT_EQ(S_OK, CMSDom::MSDomCreate(doc4.GetAddressOf()));
    EXPECT_EQ(kFail, CMSDom::CreateRootNode(doc4.Get(), Bstr(L"Kept").get(), nullptr, nullptr));
    EXPECT_TRUE(Select(doc4.Get(), L"/Kept"));
}

TEST(MSDomBuild, RootNodeFailuresAreReported) {
    ComPtr<IUnknown> doc = Parse(L"<a/>");
    ComPtr<IUnknown> a = Select(doc.Get(), L"a");
    DebugOutputCapture debug;
    ComPtr<IUnknown> root;
    const std::wstring refused = L"CMSDom::CreateRootNode: can not get IXMLDOMDocument or bstrPath is empty!\n";
    EXPECT_EQ(kFail, CMSDom::CreateRootNode(a.Get(), Bstr(L"b").get(), nullptr, root.GetAddressOf()));
    EXPECT_EQ(kFail, CMSDom::CreateRootNode(doc.Get(), Bstr(L"").get(), nullptr, root.GetAddressOf()));
    EXPECT_EQ((Texts{refused, refused}), debug.Take());

    ComPtr<IUnknown> fresh;
    ASSERT_EQ(S_OK, CMSDom::MSDomCreate(fresh.GetAddressOf()));
    if (ParserRefusesName(fresh.Get(), L"1 bad")) {
        const HRESULT badName = CMSDom::CreateRootNode(fresh.Get(), Bstr(L"1 bad").get(), nullptr, root.GetAddressOf());
        EXPECT_TRUE(FAILED(badName));
        EXPECT_EQ(Texts{L"CMSDom::CreateRootNode: createElement FAILED!\n"}, debug.Take());
        EXPECT_FALSE(root);
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

TEST(MSDomBuild, CreateNodeRefusals) {
    ComPtr<IUnknown> doc = Parse(L"<r>text</r>");
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetChildNodes(doc.Get(), list.GetAddressOf()));
    DebugOutputCapture debug;
    ComPtr<IUnknown> made;
    EXPECT_EQ(E_INVALIDARG, CMSDom::CreateNode(doc.Get(), Bstr(L"").get(), made.GetAddressOf()));
    EXPECT_EQ(E_POINTER, CMSDom::CreateNode(list.Get(), Bstr(L"a").get(), made.GetAddressOf()));
    EXPECT_EQ(E_POINTER, CMSDom::CreateNode(doc.Get(), Bstr(L"a").get(), made.GetAddressOf()));
    EXPECT_EQ((Texts{L"CMSDom::CreateNode: Invalid argument\n", L"CMSDom::CreateNode: Failed to get IXMLDOMNodePtr\n",
                     L"CMSDom::CreateNode: Failed to get ownerDocument\n"}),
              debug.Take());
    EXPECT_FALSE(made);
    EXPECT_EQ(L"<r>text</r>", Compact(doc.Get()).substr(Compact(doc.Get()).find(L"<r>")));

    ComPtr<IUnknown> r = Select(doc.Get(), L"r");
    if (ParserRefusesName(doc.Get(), L"<bad>")) {
        // A name the parser refuses creates nothing and is not an error.
        EXPECT_EQ(S_OK, CMSDom::CreateNode(r.Get(), Bstr(L"<bad>").get(), made.GetAddressOf()));
        EXPECT_FALSE(made);
        EXPECT_EQ(L"<r>text</r>", Compact(r.Get()));
    }
}

TEST(MSDomBuild, SetChildNodeValueReplacesOrAppends) {
    ComPtr<IUnknown> doc = Parse(L"<r><a>old</a><b><c>deep</c></b></r>");
    ComPtr<IUnknown> r = Select(doc.Get(), L"r");
    ComPtr<IUnknown> child;
    ASSERT_EQ(S_OK, CMSDom::SetChildNodeValue(r.Get(), Bstr(L"a").get(), Bstr(L"new").get(), child.GetAddressOf()));
    EXPECT_EQ(L"<a>new</a>", Compact(child.Get()));
    ASSERT_EQ(S_OK, CMSDom::SetChildNodeValue(r.Get(), Bstr(L"d").get(), Bstr(L"added").get(),
                                              child.ReleaseAndGetAddressOf()));
    EXPECT_EQ(L"<d>added</d>", Compact(child.Get()));
    EXPECT_EQ(S_OK, CMSDom::SetChildNodeValue(r.Get(), Bstr(L"e").get(), LONG{5}));
    EXPECT_EQ(S_OK, CMSDom::SetChildNodeValue(r.Get(), Bstr(L"e").get(), LONG{-6}));
    // Replacing the text of an element with children drops them.
    EXPECT_EQ(S_OK, CMSDom::SetChildNodeValue(r.Get(), Bstr(L"b").get(), Bstr(L"flat").get()));
    EXPECT_EQ(L"<r><a>new</a><b>flat</b><d>added</d><e>-6</e></r>", Compact(r.Get()));
}

TEST(MSDomBuild, SetNodeValueRefusesNonNodes) {
    ComPtr<IUnknown> doc = Parse(L"<r/>");
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetChildNodes(doc.Get(), list.GetAddressOf()));
    DebugOutputCapture debug;
    EXPECT_EQ(kFail, CMSDom::SetNodeValue(list.Get(), Bstr(L"x").get()));
    EXPECT_EQ(kFail, CMSDom::SetNodeValue(nullptr, LONG{1}));
    const std::wstring refused = L"CMSDom::SetNodeValue: Failed to get IXMLDOMNodePtr\n";
    EXPECT_EQ((Texts{refused, refused}), debug.Take());
}

TEST(MSDomBuild, HandedOutObjectsCarryExactlyOneReference) {
    ComPtr<IUnknown> doc = Parse(L"<r><a/><a/></r>");
    const Bstr path(L"//a");
    // What a lookup straight through the parser leaves on a node is the
    // baseline: the helper may add the caller's reference and nothing more.
    ComPtr<IXMLDOMNode> direct;
    ASSERT_EQ(S_OK, AsDocument(doc.Get())->selectSingleNode(path.get(), direct.GetAddressOf()));
    const ULONG baseline = References(direct.Get());
    direct.Reset();

    IUnknown* node = nullptr;
    ASSERT_EQ(S_OK, CMSDom::SelectSingleChild(doc.Get(), path.get(), &node));
    EXPECT_EQ(baseline, References(node));
    node->Release();

    ComPtr<IXMLDOMNodeList> directList;
    ASSERT_EQ(S_OK, AsDocument(doc.Get())->selectNodes(path.get(), directList.GetAddressOf()));
    const ULONG listBaseline = References(directList.Get());
    directList.Reset();
    IUnknown* list = nullptr;
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), path.get(), &list));
    EXPECT_EQ(listBaseline, References(list));
    ASSERT_EQ(S_OK, CMSDom::GetNodeFromList(list, 1, &node));
    EXPECT_EQ(baseline, References(node));
    node->Release();
    list->Release();

    ASSERT_EQ(S_OK, CMSDom::CreateNode(Select(doc.Get(), L"r").Get(), Bstr(L"b").get(), &node));
    EXPECT_EQ(baseline, References(node));
    node->Release();
}
