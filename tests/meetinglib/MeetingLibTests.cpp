// The suite's meetings library: every call lands in the call log, and the
// answers follow the registry.
#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "QkMeetingLibs.h"
#include "ComHolders.h"
#include "UniqueHandle.h"
#include "support/RegistryValues.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib";
const HWND kOwner = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1A2B));

class MeetingLib : public ::testing::Test {
protected:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using NoArgumentFn = HRESULT(STDAPICALLTYPE*)();

    void SetUp() override {
        ASSERT_TRUE(library);
        getClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(library.get(), "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library.get(), "DllCanUnloadNow"));
        ASSERT_TRUE(getClassObject && canUnloadNow);
        settings.RemoveAll();
    }

    template <typename T>
    ComPtr<T> Create(const CLSID& classId) {
        ComPtr<IClassFactory> factory;
        ComPtr<T> object;
        if (SUCCEEDED(getClassObject(classId, IID_PPV_ARGS(&factory))))
            factory->CreateInstance(nullptr, __uuidof(T), reinterpret_cast<void**>(object.GetAddressOf()));
        return object;
    }

    // Every line of the call log ends in CR LF.
    std::vector<std::wstring> Calls() const { return log.Lines(); }

    UniqueHmodule library{::LoadLibraryW((testsupport::BinFolder() + L"qkIstMt.dll").c_str())};
    GetClassObjectFn getClassObject = nullptr;
    NoArgumentFn canUnloadNow = nullptr;
    SavedRegistryValues settings{HKEY_CURRENT_USER, kSettingsKey,
                                 {L"ResultCode", L"ResultXml", L"InstantMeetingKey", L"LibraryCurrentResult",
                                  L"ActionResult"}};
    testsupport::EnvironmentFile log{L"QK_MEETINGLIB_LOG"};
};

TEST_F(MeetingLib, OperationsRecordTheirArgumentsInOrder) {
    const auto operations = Create<IQKMeetingOperations>(CLSID_QKMeetingOperations);
    ASSERT_TRUE(operations);
    const Bstr key(L"123456789"), password(L"p\\w\td"), site(L"https://acme.quillkit.example/acme");
    const Bstr topic(L"Weekly sync: Ärger & Co\r\nsecond line"), phone(L"+1 555 0100"), attendee(L"att-7");
    EXPECT_EQ(S_OK, operations->StartInstantMeeting(kOwner, 2, nullptr, 0));
    EXPECT_EQ(S_OK, operations->JoinMeeting(kOwner, key.get(), password.get(), site.get(), 3, key.get(), 13,
                                            phone.get(), attendee.get()));
    EXPECT_EQ(S_OK, operations->StartScheduledMeeting(kOwner, key.get(), topic.get(), -1, nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(S_OK, operations->StartPersonalConference(kOwner));

    const std::vector<std::wstring> expected = {
        L"StartInstantMeeting\towner=0x1A2B\tcaller=2\tphone=(null)\treserved=0",
        L"JoinMeeting\towner=0x1A2B\tkey=123456789\tpassword=p\\\\w\\td\tsite=https://acme.quillkit.example/acme"
        L"\tvalue=3\tkey2=123456789\tcaller=13\tphone=+1 555 0100\tattendee=att-7",
        L"StartScheduledMeeting\towner=0x1A2B\tkey=123456789\ttopic=Weekly sync: Ärger & Co\\r\\nsecond line"
        L"\tvalue=-1\tkey2=(null)\tcaller=0\tphone=(null)\tattendee=(null)",
        L"StartPersonalConference\towner=0x1A2B",
    };
    EXPECT_EQ(expected, Calls());
}

TEST_F(MeetingLib, InstantMeetingHandsOutANewKeyWhenItStarted) {
    const auto first = Create<IQKMeetingOperations>(CLSID_QKMeetingOperations);
    const auto second = Create<IQKMeetingOperations>(CLSID_QKMeetingOperations);
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
    const size_t open = document.find(L"<meetingKey>"), close = document.find(L"</meetingKey>");
    ASSERT_NE(std::wstring::npos, open);
    ASSERT_NE(std::wstring::npos, close);
    const std::wstring newKey = document.substr(open + 12, close - open - 12);
    EXPECT_EQ(9u, newKey.size());
    EXPECT_EQ(std::wstring::npos, newKey.find_first_not_of(L"0123456789"));
    EXPECT_NE(document, otherXml.str()) << "every instant meeting gets a key of its own";

    // A configured key is used as it stands; a failed start has no document.
    settings.SetText(L"InstantMeetingKey", L"987654321");
    ASSERT_EQ(S_OK, first->GetResult(&code, xml.receive(), 0));
    EXPECT_EQ(L"<Result><meetingKey>987654321</meetingKey></Result>", xml.str());
    settings.SetDword(L"ResultCode", 15);
    ASSERT_EQ(S_OK, first->GetResult(&code, xml.receive(), 0));
    EXPECT_EQ(15, code);
    EXPECT_EQ(nullptr, xml.get());

    const auto calls = Calls();
    ASSERT_EQ(7u, calls.size());
    EXPECT_EQ(L"GetResult\tflag=0\tcode=2\txml=(null)", calls[0]);
    EXPECT_EQ(L"GetResult\tflag=0\tcode=2\txml=<Result><meetingKey>987654321</meetingKey></Result>",
              calls[5]);
    EXPECT_EQ(L"GetResult\tflag=0\tcode=15\txml=(null)", calls[6]);
}

TEST_F(MeetingLib, ConfiguredCodesAndDocument) {
    const auto operations = Create<IQKMeetingOperations>(CLSID_QKMeetingOperations);
    settings.SetDword(L"ResultCode", 36);
    settings.SetText(L"ResultXml", L"<Result><reason>expired</reason></Result>");
    settings.SetDword(L"ActionResult", static_cast<DWORD>(E_ACCESSDENIED));
    EXPECT_EQ(E_ACCESSDENIED, operations->JoinMeeting(kOwner, nullptr, nullptr, nullptr, 0, nullptr, 0, nullptr, nullptr));
    LONG code = 0;
    Bstr xml;
    ASSERT_EQ(S_OK, operations->GetResult(&code, xml.receive(), 0));
    EXPECT_EQ(36, code);
    EXPECT_EQ(L"<Result><reason>expired</reason></Result>", xml.str());

    // An empty configured document is an empty document, not an absent one.
    settings.SetText(L"ResultXml", L"");
    ASSERT_EQ(S_OK, operations->GetResult(&code, xml.receive(), 0));
    EXPECT_NE(nullptr, xml.get());
    EXPECT_TRUE(xml.empty());
    // The caller may leave the document out.
    EXPECT_EQ(S_OK, operations->GetResult(&code, nullptr, 0));
    EXPECT_EQ(E_POINTER, operations->GetResult(nullptr, xml.receive(), 0));
}

TEST_F(MeetingLib, PagesRecordEveryCallAndSlot23AnswersCurrent) {
    const auto pages = Create<IQKMeetingPages>(CLSID_QKMeetingPages);
    ASSERT_TRUE(pages);
    const Bstr meeting(L"m-42"), address(L"https://acme.quillkit.example/acme/mc");
    EXPECT_EQ(S_OK, pages->IsLibraryCurrent());
    EXPECT_EQ(S_OK, pages->ScheduleMeeting(kOwner));
    EXPECT_EQ(S_OK, pages->EditMeeting(meeting.get()));
    EXPECT_EQ(S_OK, pages->OpenAddress(kOwner, address.get()));
    EXPECT_EQ(S_OK, pages->GoToMeetingSite());
    EXPECT_EQ(S_OK, pages->ShowHelp(5));
    EXPECT_EQ(S_OK, pages->ShowAboutBox(kOwner));
    EXPECT_EQ(S_OK, pages->ConnectToMyComputer(kOwner));

    settings.SetDword(L"LibraryCurrentResult", static_cast<DWORD>(E_FAIL));
    settings.SetDword(L"ActionResult", 1);
    EXPECT_EQ(E_FAIL, pages->IsLibraryCurrent());
    EXPECT_EQ(S_FALSE, pages->ShowHelp(0));

    const std::vector<std::wstring> expected = {
        L"IsLibraryCurrent\tanswer=0",
        L"ScheduleMeeting\towner=0x1A2B",
        L"EditMeeting\tmeeting=m-42",
        L"OpenAddress\towner=0x1A2B\taddress=https://acme.quillkit.example/acme/mc",
        L"GoToMeetingSite",
        L"ShowHelp\ttopic=5",
        L"ShowAboutBox\towner=0x1A2B",
        L"ConnectToMyComputer\towner=0x1A2B",
        L"IsLibraryCurrent\tanswer=-2147467259",
        L"ShowHelp\ttopic=0",
    };
    EXPECT_EQ(expected, Calls());
}

TEST_F(MeetingLib, ClassObjectsInterfacesAndUnloading) {
    EXPECT_EQ(S_OK, canUnloadNow());
    ComPtr<IClassFactory> factory;
    IUnknown* none = reinterpret_cast<IUnknown*>(0x1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(CLSID_QKWebApiSync, IID_PPV_ARGS(&factory)));
    ASSERT_EQ(S_OK, getClassObject(CLSID_QKMeetingPages, IID_PPV_ARGS(&factory)));
    EXPECT_EQ(1u, testsupport::RefCount(factory.Get()));
    ComPtr<IQKMeetingOperations> wrong;
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, __uuidof(IQKMeetingOperations),
                                                     reinterpret_cast<void**>(wrong.GetAddressOf())));
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(none, IID_IUnknown, reinterpret_cast<void**>(&none)));
    EXPECT_EQ(S_OK, canUnloadNow()) << "refused creations leave no object behind";

    ComPtr<IQKMeetingPages> pages;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, __uuidof(IQKMeetingPages),
                                            reinterpret_cast<void**>(pages.GetAddressOf())));
    EXPECT_EQ(1u, testsupport::RefCount(pages.Get()));
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, pages.As(&unknown));
    EXPECT_EQ(static_cast<IUnknown*>(pages.Get()), unknown.Get());
    EXPECT_EQ(2u, testsupport::RefCount(pages.Get()));
    unknown.Reset();
    factory.Reset();
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "a live object keeps the library";
    pages.Reset();
    EXPECT_EQ(S_OK, canUnloadNow());

    ASSERT_EQ(S_OK, getClassObject(CLSID_QKMeetingOperations, IID_PPV_ARGS(&factory)));
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(S_FALSE, canUnloadNow());
    ASSERT_EQ(S_OK, getClassObject(CLSID_QKMeetingOperations, IID_PPV_ARGS(&factory)));
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(S_OK, canUnloadNow());
}

TEST_F(MeetingLib, RegistersBothClassesForThisFile) {
    const auto registerServer = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library.get(), "DllRegisterServer"));
    const auto unregisterServer = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library.get(), "DllUnregisterServer"));
    ASSERT_TRUE(registerServer && unregisterServer);
    const wchar_t* classKeys[] = {L"CLSID\\{68F4FC5C-0469-4433-B278-1DE38F978924}\\InprocServer32",
                                  L"CLSID\\{0FE344D4-7005-44A7-86D4-ED261E977748}\\InprocServer32"};
    ASSERT_EQ(S_OK, registerServer());
    for (const wchar_t* key : classKeys) {
        wchar_t path[MAX_PATH] = {};
        DWORD bytes = sizeof(path);
        EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, path, &bytes));
        EXPECT_EQ(0, _wcsicmp((testsupport::BinFolder() + L"qkIstMt.dll").c_str(), path)) << key;
    }
    ASSERT_EQ(S_OK, unregisterServer());
    for (const wchar_t* key : classKeys) {
        UniqueHkey opened;
        EXPECT_NE(ERROR_SUCCESS, ::RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, KEY_READ, opened.receive())) << key;
    }
}
}  // namespace
