// Phone requests arrive from the network: whatever the text, every operation
// of the XML helper must fail cleanly, neither crash nor hang nor reach out.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include <string>

#include "common/ComHolders.h"
#include "common/UniqueHandle.h"
#include "meetings/MSDom.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kRequest[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    L"<Request version=\"1\"><Command>JoinMeeting</Command>"
    L"<Meeting key=\"123456789\"><Topic>Q&amp;A &lt;weekly&gt;</Topic><Password>p</Password></Meeting>"
    L"<Phone id=\"sip:desk@example.com\"/></Request>";

// Runs every reading and building operation against a document, whatever
// state it is in; each must answer with a code, never crash.
void ExerciseEverything(IUnknown* doc) {
    ComPtr<IUnknown> root;
    const HRESULT rootResult = CMSDom::GetRootNode(doc, root.GetAddressOf());
    EXPECT_EQ(rootResult == S_OK, root != nullptr);
    IUnknown* start = root ? root.Get() : doc;
    for (const wchar_t* path : {L"//Command", L"Meeting/@key", L"//*", L"//Missing", L"*/*/*"}) {
        ComPtr<IUnknown> node;
        const HRESULT hr = CMSDom::SelectSingleChild(start, Bstr(path).get(), node.GetAddressOf());
        EXPECT_EQ(hr == S_OK, node != nullptr) << path;
        ComPtr<IUnknown> list;
        if (CMSDom::GetNodeList(start, Bstr(path).get(), list.GetAddressOf()) == S_OK) {
            const LONG count = CMSDom::GetNodeListCount(list.Get());
            EXPECT_GE(count, 0);
            ComPtr<IUnknown> item;
            EXPECT_EQ(E_FAIL, CMSDom::GetNodeFromList(list.Get(), count, item.GetAddressOf()));
        }
        CStringEx text;
        CMSDom::GetChildNodeValue(start, Bstr(path).get(), text);
        LONG number = 0;
        CMSDom::GetChildNodeValue(start, Bstr(path).get(), number);
    }
    CStringEx all;
    CMSDom::GetNodeValue(start, all);
    Bstr xml;
    EXPECT_EQ(S_OK, CMSDom::GetSubXML(doc, xml.receive()));
    CMSDom::SetChildNodeValue(start, Bstr(L"Answer").get(), Bstr(L"ok").get());
}
}  // namespace

TEST(MSDomHostile, EveryTruncationOfARequestFailsCleanly) {
    const std::wstring full = kRequest;
    for (size_t length = 1; length < full.size(); ++length) {
        ComPtr<IUnknown> doc;
        const HRESULT hr = CMSDom::CreateFromString(Bstr(full.substr(0, length)).get(), doc.GetAddressOf());
        ASSERT_TRUE(doc) << length;
        EXPECT_EQ(E_FAIL, hr) << length;
        ExerciseEverything(doc.Get());
    }
    ComPtr<IUnknown> doc;
    ASSERT_EQ(S_OK, CMSDom::CreateFromString(Bstr(full).get(), doc.GetAddressOf()));
    CStringEx topic;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Meeting/Topic").get(), topic));
    EXPECT_EQ(L"Q&A <weekly>", topic.str());
    ExerciseEverything(doc.Get());
}

TEST(MSDomHostile, MalformedTextIsRefused) {
    const wchar_t* const texts[] = {
        L"<a><b></a></b>",
        L"<a b=\"1\" b=\"2\"/>",
        L"<a>&undefined;</a>",
        L"<a>\x0001</a>",
        L"<a><![CDATA[never closed</a>",
        L"<?xml version=\"1.0\"?>",
        L"</a>",
        L"<a attr=unquoted/>",
    };
    for (const wchar_t* text : texts) {
        ComPtr<IUnknown> doc;
        EXPECT_EQ(E_FAIL, CMSDom::CreateFromString(Bstr(text).get(), doc.GetAddressOf())) << text;
        ASSERT_TRUE(doc);
        ExerciseEverything(doc.Get());
    }
}

TEST(MSDomHostile, HugeDocumentsParseAndAnswer) {
    std::wstring xml = L"<Meetings>";
    constexpr int kMeetings = 20000;
    for (int i = 0; i < kMeetings; ++i) xml += L"<M k=\"" + std::to_wstring(i) + L"\"><T>topic</T></M>";
    xml += L"<Big>" + std::wstring(4 * 1024 * 1024, L'x') + L"</Big></Meetings>";
    ComPtr<IUnknown> doc;
    ASSERT_EQ(S_OK, CMSDom::CreateFromString(Bstr(xml).get(), doc.GetAddressOf()));
    ComPtr<IUnknown> list;
    ASSERT_EQ(S_OK, CMSDom::GetNodeList(doc.Get(), Bstr(L"//M").get(), list.GetAddressOf()));
    EXPECT_EQ(kMeetings, CMSDom::GetNodeListCount(list.Get()));
    CStringEx big;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//Big").get(), big));
    EXPECT_EQ(4 * 1024 * 1024, big.GetLength());
    CStringEx topic;
    EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"//M[@k='19999']/T").get(), topic));
    EXPECT_EQ(L"topic", topic.str());
}

TEST(MSDomHostile, DeepNestingFailsOrAnswersWithoutCrashing) {
    for (const int depth : {200, 5000, 100000}) {
        std::wstring xml;
        for (int i = 0; i < depth; ++i) xml += L"<d>";
        xml += L"bottom";
        for (int i = 0; i < depth; ++i) xml += L"</d>";
        ComPtr<IUnknown> doc;
        const HRESULT hr = CMSDom::CreateFromString(Bstr(xml).get(), doc.GetAddressOf());
        ASSERT_TRUE(doc) << depth;
        if (hr == S_OK) {
            CStringEx text;
            EXPECT_EQ(S_OK, CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"/d").get(), text)) << depth;
            EXPECT_EQ(L"bottom", text.str()) << depth;
        }
        ExerciseEverything(doc.Get());
    }
}

TEST(MSDomHostile, EntityExpansionBombIsRefused) {
    std::wstring xml = L"<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">";
    std::wstring previous = L"lol";
    for (int level = 1; level <= 9; ++level) {
        const std::wstring name = L"lol" + std::to_wstring(level);
        xml += L"<!ENTITY " + name + L" \"";
        for (int i = 0; i < 10; ++i) xml += L"&" + previous + L";";
        xml += L"\">";
        previous = name;
    }
    xml += L"]><lolz>&" + previous + L";</lolz>";
    ComPtr<IUnknown> doc;
    const HRESULT hr = CMSDom::CreateFromString(Bstr(xml).get(), doc.GetAddressOf());
    ASSERT_TRUE(doc);
    CStringEx text;
    CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"/lolz").get(), text);
    // Either refused outright or kept far below the 3 GB of a full expansion.
    EXPECT_TRUE(hr == E_FAIL || text.GetLength() < 100 * 1000 * 1000) << text.GetLength();
    ExerciseEverything(doc.Get());
}

TEST(MSDomHostile, ExternalEntitiesAreNotFetched) {
    testsupport::TempFolder folder;
    const std::wstring secretPath = folder.Path() + L"secret.txt";
    {
        UniqueFileHandle file(::CreateFileW(secretPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(file);
        const char content[] = "TOP-SECRET-CONTENT";
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), content, sizeof content - 1, &written, nullptr));
    }
    std::wstring url = L"file:///" + secretPath;
    for (auto& c : url)
        if (c == L'\\') c = L'/';
    const std::wstring xml = L"<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x SYSTEM \"" + url + L"\">]><a>[&x;]</a>";
    ComPtr<IUnknown> doc;
    CMSDom::CreateFromString(Bstr(xml).get(), doc.GetAddressOf());
    ASSERT_TRUE(doc);
    Bstr serialised;
    ASSERT_EQ(S_OK, CMSDom::GetSubXML(doc.Get(), serialised.receive()));
    CStringEx text;
    CMSDom::GetChildNodeValue(doc.Get(), Bstr(L"/a").get(), text);
    EXPECT_EQ(-1, text.Find(L"TOP-SECRET"));
    EXPECT_EQ(std::wstring::npos, serialised.str().find(L"TOP-SECRET"));
}
