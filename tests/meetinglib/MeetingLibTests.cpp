// The suite's meetings library. The log lines of the desktop client's calls
// are checked where it makes them (tests/commands, tests/helpmodule); here the
// log's escaping, the generated key, the answers' edges, the class objects.
#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <regex>
#include <string>
#include <vector>

#include "QkMeetingLibs.h"
#include "ComHolders.h"
#include "support/ModuleLibrary.h"
#include "support/RegistryValues.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib";
const HWND kOwner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1A2B));

class MeetingLib : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.Loaded());
        settings.RemoveAll();
    }
    ComPtr<IQKMeetingOperations> Operations() const {
        return library.Create<IQKMeetingOperations>(CLSID_QKMeetingOperations);
    }

    ModuleLibrary library{testsupport::BinFolder() + L"qkIstMt.dll"};
    SavedRegistryValues settings{HKEY_CURRENT_USER, kSettingsKey,
                                 {L"ResultCode", L"ResultXml", L"InstantMeetingKey", L"LibraryCurrentResult",
                                  L"ActionResult"}};
    testsupport::EnvironmentFile log{L"QK_MEETINGLIB_LOG"};
};

TEST_F(MeetingLib, TheLogEscapesItsSeparatorsAndMarksAbsentTexts) {
    const auto operations = Operations();
    const auto pages = library.Create<IQKMeetingPages>(CLSID_QKMeetingPages);
    ASSERT_TRUE(operations && pages);
    const Bstr key(L"123456789"), password(L"p\\w\td"), topic(L"Weekly sync: \u00C4rger & Co\r\nsecond line");
    EXPECT_EQ(S_OK, operations->JoinMeeting(kOwner, key.get(), password.get(), nullptr, 3, nullptr, 13, nullptr, nullptr));
    EXPECT_EQ(S_OK, operations->StartScheduledMeeting(kOwner, key.get(), topic.get(), -1, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(S_OK, pages->EditMeeting(Bstr(L"m-42").get()));
    const std::vector<std::wstring> expected = {
        L"JoinMeeting\towner=0x1A2B\tkey=123456789\tpassword=p\\\\w\\td\tsite=(null)"
        L"\tvalue=3\tkey2=(null)\tcaller=13\tphone=(null)\tattendee=(null)",
        L"StartScheduledMeeting\towner=0x1A2B\tkey=123456789\ttopic=Weekly sync: \u00C4rger & Co\\r\\nsecond line"
        L"\tvalue=-1\tkey2=(null)\tcaller=0\tphone=(null)\tattendee=(null)",
        L"EditMeeting\tmeeting=m-42",
    };
    EXPECT_EQ(expected, log.Lines());
}

TEST_F(MeetingLib, InstantMeetingHandsOutANewKeyWhenItStarted) {
    const auto first = Operations();
    const auto second = Operations();
    LONG code = 0;
    Bstr xml;
    // Nothing started yet: the code, but no document.
    ASSERT_EQ(S_OK, first->GetResult(&code, xml.receive(), 0));
    EXPECT_EQ(2, code);
    EXPECT_EQ(nullptr, xml.get());

    first->StartInstantMeeting(kOwner, 2, nullptr, 0);
    second->StartInstantMeeting(kOwner, 2, nullptr, 0);
    Bstr otherXml;
    ASSERT_EQ(S_OK, first->GetResult(&code, xml.receive(), 1));
    ASSERT_EQ(S_OK, second->GetResult(&code, otherXml.receive(), 1));
    const std::wstring document = xml.str();
    EXPECT_TRUE(std::regex_match(document, std::wregex(L"<Result><meetingKey>[0-9]{9}</meetingKey></Result>")))
        << document;
    EXPECT_NE(document, otherXml.str()) << "every instant meeting gets a key of its own";

    // A configured key is used as it stands; a failed start has no document.
    settings.SetText(L"InstantMeetingKey", L"987654321");
    ASSERT_EQ(S_OK, first->GetResult(&code, xml.receive(), 0));
    EXPECT_EQ(L"<Result><meetingKey>987654321</meetingKey></Result>", xml.str());
    settings.SetDword(L"ResultCode", 15);
    ASSERT_EQ(S_OK, first->GetResult(&code, xml.receive(), 0));
    EXPECT_EQ(15, code);
    EXPECT_EQ(nullptr, xml.get());
}

TEST_F(MeetingLib, ConfiguredCodesAndDocument) {
    const auto operations = Operations();
    settings.SetDword(L"ResultCode", 36);
    settings.SetText(L"ResultXml", L"<Result><reason>expired</reason></Result>");
    settings.SetDword(L"ActionResult", static_cast<DWORD>(E_ACCESSDENIED));
    EXPECT_EQ(E_ACCESSDENIED, operations->JoinMeeting(kOwner, nullptr, nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr));
    LONG code = 0;
    Bstr xml;
    ASSERT_EQ(S_OK, operations->GetResult(&code, xml.receive(), 0));
    EXPECT_EQ(36, code);
    EXPECT_EQ(L"<Result><reason>expired</reason></Result>", xml.str());

    // The caller may leave the document out.
    EXPECT_EQ(S_OK, operations->GetResult(&code, nullptr, 0));
    EXPECT_EQ(E_POINTER, operations->GetResult(nullptr, xml.receive(), 0));
}

TEST_F(MeetingLib, ClassObjectsInterfacesAndUnloading) {
    EXPECT_EQ(S_OK, library.CanUnloadNow());
    ComPtr<IClassFactory> factory;
    IUnknown* none = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, library.GetClassObject(CLSID_QKWebApiSync, IID_PPV_ARGS(&factory)));
    ASSERT_EQ(S_OK, library.GetClassObject(CLSID_QKMeetingPages, IID_PPV_ARGS(&factory)));
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(none, IID_IUnknown, reinterpret_cast<void**>(&none)));
    EXPECT_EQ(S_OK, library.CanUnloadNow()) << "refused creations leave no object behind";

    ComPtr<IQKMeetingPages> pages;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, __uuidof(IQKMeetingPages),
                                            reinterpret_cast<void**>(pages.GetAddressOf())));
    EXPECT_EQ(1u, testsupport::RefCount(pages.Get()));
    factory.Reset();
    EXPECT_EQ(S_FALSE, library.CanUnloadNow()) << "a live object keeps the library";
    pages.Reset();
    EXPECT_EQ(S_OK, library.CanUnloadNow());

    ASSERT_EQ(S_OK, library.GetClassObject(CLSID_QKMeetingOperations, IID_PPV_ARGS(&factory)));
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(S_FALSE, library.CanUnloadNow());
    ASSERT_EQ(S_OK, library.GetClassObject(CLSID_QKMeetingOperations, IID_PPV_ARGS(&factory)));
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}

// The desktop client loads the library for every meeting action and frees it
// afterwards: a long session does that thousands of times in one process.
// (Not in the fixture, which holds the library loaded.)
TEST(MeetingLibLoads, ALibraryLoadedForEveryActionDoesNotWearTheProcessOut) {
    const testsupport::EnvironmentFile log{L"QK_MEETINGLIB_LOG"};
    const auto firstFreeSlot = [] {
        const DWORD slot = ::TlsAlloc();
        ::TlsFree(slot);
        return slot;
    };
    const DWORD slotBefore = firstFreeSlot();
    for (int action = 0; action < 1200; ++action) {
        const ModuleLibrary loaded(testsupport::BinFolder() + L"qkIstMt.dll");
        const ComPtr<IQKMeetingOperations> operations = loaded.Create<IQKMeetingOperations>(CLSID_QKMeetingOperations);
        ASSERT_TRUE(operations) << action;
        LONG code = 0;
        Bstr xml;
        ASSERT_EQ(S_OK, operations->GetResult(&code, xml.receive(), 1)) << action;
    }
    EXPECT_LE(firstFreeSlot(), slotBefore + 1) << "every load kept a thread-local slot";
}
}  // namespace
