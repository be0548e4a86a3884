// Phone requests arrive from the network: whatever the text, every operation
// of the XML helper must fail cleanly, neither crash nor hang nor reach out.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComHolders.h"
#include "UniqueHandle.h"
#include "MSDom.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kRequest[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    L"<Request version=\"1\"><Command>JoinMeeting</Command>"
    L"<Meeting key=\"123456789\"><Topic>Q&amp;A &lt;weekly&gt;</Topic><Password>p</Password></Meeting>"
    L"<Phone id=\"sip:desk@example.com\"/></Request>";

// Parses `xml` (a document comes back even when refused) and runs every
// reading and building operation on it; each must answer with a code.
ComPtr<IUnknown> ParseAndExercise(const std::wstring& xml, HRESULT* parsed = nullptr) {
    ComPtr<IUnknown> doc;
    const HRESULT hr = CMSDom::CreateFromString(Bstr(xml).get(), doc.GetAddressOf());
    if (parsed) *parsed = hr;
    EXPECT_TRUE(doc) << xml.size();
    if (!doc) return doc;
    ComPtr<IUnknown> root;
    const bool rooted = CMSDom::GetRootNode(doc.Get(), root.GetAddressOf()) == S_OK;
    EXPECT_EQ(rooted, root != nullptr);
    IUnknown* start = root ? root.Get() : doc.Get();
    for (const wchar_t* path : {L"//Command", L"Meeting/@key", L"//*", L"//Missing", L"*/*/*"}) {
        ComPtr<IUnknown> node, list, item;
        const bool found = CMSDom::SelectSingleChild(start, Bstr(path).get(), node.GetAddressOf()) == S_OK;
        EXPECT_EQ(found, node != nullptr) << path;
        if (CMSDom::GetNodeList(start, Bstr(path).get(), list.GetAddressOf()) == S_OK) {
            const LONG count = CMSDom::GetNodeListCount(list.Get());
            EXPECT_GE(count, 0);
            EXPECT_EQ(E_FAIL, CMSDom::GetNodeFromList(list.Get(), count, item.GetAddressOf()));
        }
        CStringEx text;
        CMSDom::GetChildNodeValue(start, Bstr(path).get(), text);
        LONG number = 0;
        CMSDom::GetChildNodeValue(start, Bstr(path).get(), number);
    }
    CStringEx all;
    CMSDom::GetNodeValue(start, all);
    Bstr serialised;
    EXPECT_EQ(S_OK, CMSDom::GetSubXML(doc.Get(), serialised.receive()));
    CMSDom::SetChildNodeValue(start, Bstr(L"Answer").get(), Bstr(L"ok").get());
    return doc;
}

std::wstring TextAt(IUnknown* doc, const wchar_t* path) {
    CStringEx text;
    CMSDom::GetChildNodeValue(doc, Bstr(path).get(), text);
    return text.str();
}
}  // namespace

TEST(MSDomHostile, TruncatedAndMalformedRequestsAreRefused) {
    const std::wstring full = kRequest;
    std::vector<std::wstring> texts = {
        L"<a><b></a></b>", L"<a b=\"1\" b=\"2\"/>", L"<a>&undefined;</a>", L"<a>\x0001</a>",
        L"<a><![CDATA[never closed</a>", L"<?xml version=\"1.0\"?>", L"</a>", L"<a attr=unquoted/>"};
    for (size_t length = 1; length < full.size(); ++length) texts.push_back(full.substr(0, length));
    for (const std::wstring& text : texts) {
        HRESULT hr = S_OK;
        ParseAndExercise(text, &hr);
        EXPECT_EQ(E_FAIL, hr) << text;
    }
    HRESULT hr = E_FAIL;
    const ComPtr<IUnknown> doc = ParseAndExercise(full, &hr);
    ASSERT_EQ(S_OK, hr);
    EXPECT_EQ(L"Q&A <weekly>", TextAt(doc.Get(), L"//Meeting/Topic"));
}

TEST(MSDomHostile, DeepNestingAndEntityBombsDoNotCrashOrExplode) {
    for (const int depth : {200, 5000, 100000}) {
        std::wstring xml;
        for (int i = 0; i < depth; ++i) xml += L"<d>";
        xml += L"bottom";
        for (int i = 0; i < depth; ++i) xml += L"</d>";
        HRESULT hr = E_FAIL;
        const ComPtr<IUnknown> doc = ParseAndExercise(xml, &hr);
        if (hr == S_OK) {
            EXPECT_EQ(L"bottom", TextAt(doc.Get(), L"/d/d")) << depth;
        }
    }

    std::wstring bomb = L"<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        bomb += L"<!ENTITY lol" + std::to_wstring(level) + L" \"";
        for (int i = 0; i < 10; ++i) bomb += L"&lol" + std::to_wstring(level - 1) + L";";
        bomb += L"\">";
    }
    bomb += L"]><lolz>&lol9;</lolz>";
    HRESULT hr = S_OK;
    const ComPtr<IUnknown> doc = ParseAndExercise(bomb, &hr);
    const size_t length = doc ? TextAt(doc.Get(), L"/lolz").size() : 0;
    // Either refused outright or kept far below the 3 GB of a full expansion.
    EXPECT_TRUE(hr == E_FAIL || length < 100u * 1000 * 1000) << length;
}

TEST(MSDomHostile, ExternalEntitiesAreNotFetched) {
    testsupport::TempFolder folder;
    const std::wstring secretPath = folder.Path() + L"secret.txt";
    {
        UniqueFileHandle file(::CreateFileW(secretPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.get(), "TOP-SECRET-CONTENT", 18, &written, nullptr));
    }
    std::wstring url = L"file:///" + secretPath;
    std::replace(url.begin(), url.end(), L'\\', L'/');
    const ComPtr<IUnknown> doc = ParseAndExercise(
        L"<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x SYSTEM \"" + url + L"\">]><a>[&x;]</a>");
    ASSERT_TRUE(doc);
    Bstr serialised;
    ASSERT_EQ(S_OK, CMSDom::GetSubXML(doc.Get(), serialised.receive()));
    EXPECT_EQ(std::wstring::npos, TextAt(doc.Get(), L"/a").find(L"TOP-SECRET"));
    EXPECT_EQ(std::wstring::npos, serialised.str().find(L"TOP-SECRET"));
}
