// The messaging account: the settings service builds its document from the
// user's values, the login module hands it to the host's bus as event 23.
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QkServiceInterfaces.h"
#include "VelEvents.h"
#include "VelUIModule.h"
#include "ComHolders.h"
#include "support/ModuleLibrary.h"
#include "support/RegistryValues.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
const wchar_t kKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Messaging";

class IdentityListener final : public CVelEventListener {
public:
    HRESULT HandleEvent(UINT code, INT_PTR first, INT_PTR, INT_PTR) override {
        if (code == VelEvent::MessagingIdentity) documents.emplace_back(reinterpret_cast<const wchar_t*>(first));
        return S_OK;
    }
    std::vector<std::wstring> documents;
};

class MessagingAccount : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.Loaded());
        values.RemoveAll();
    }
    void ConfigureAccount() const {
        values.SetText(L"Name", L"user@localhost");
        values.SetText(L"Password", L"pass");
        values.SetText(L"BoshUrl", L"http://127.0.0.1:5280/http-bind");
    }

    ModuleLibrary service{testsupport::BinFolder() + L"qkService.dll"};
    // The user's own values (a developer's run configuration) survive the test.
    SavedRegistryValues values{HKEY_CURRENT_USER, kKey, {L"Name", L"Password", L"BoshUrl", L"ErrorID", L"ErrorMessage"}};
};

TEST_F(MessagingAccount, TheDocumentFollowsTheUsersValues) {
    const struct {
        const char* name;
        std::vector<std::pair<const wchar_t*, const wchar_t*>> texts;
        DWORD errorId;  // 0: not set
        HRESULT hr;
        const wchar_t* document;
    } cases[] = {
        {"account", {{L"Name", L"user@localhost"}, {L"Password", L"p<&>w"}, {L"BoshUrl", L"http://h:5280/http-bind"}},
         0, S_OK,
         L"<GetParleyAccount><Result>Success</Result><ErrorID>0</ErrorID><ErrorMessage/><Information>"
         L"<Name>user@localhost</Name><Password>p&lt;&amp;&gt;w</Password>"
         L"<ParleyBoshUrl>http://h:5280/http-bind</ParleyBoshUrl></Information></GetParleyAccount>"},
        {"failure asked for", {{L"Name", L"user@localhost"}, {L"ErrorMessage", L"UserPasswordIsWrong"}}, 17, S_FALSE,
         L"<GetParleyAccount><Result>Failure</Result><ErrorID>17</ErrorID>"
         L"<ErrorMessage>UserPasswordIsWrong</ErrorMessage></GetParleyAccount>"},
    };
    ComPtr<IQKSuiteState> state = service.Create<IQKSuiteState>(CLSID_QKSettingsService);
    ASSERT_TRUE(state);
    for (const auto& c : cases) {
        values.RemoveAll();
        for (const auto& [name, value] : c.texts) values.SetText(name, value);
        if (c.errorId) values.SetDword(L"ErrorID", c.errorId);
        Bstr document;
        EXPECT_EQ(c.hr, state->GetMessagingAccount(document.receive())) << c.name;
        EXPECT_EQ(c.document, document.str()) << c.name;
    }
    EXPECT_EQ(E_POINTER, state->GetMessagingAccount(nullptr));
}

class LoginModuleAccount : public MessagingAccount {
protected:
    void SetUp() override {
        MessagingAccount::SetUp();
        // The login module reaches the service through COM's registry.
        ASSERT_EQ(S_OK, service.RegisterServer());
        host.app->Bus().Subscribe(VelEvent::MessagingIdentity, &listener);
    }
    void TearDown() override {
        if (module) module->UninitModule();
        module.Reset();
        host.app->Bus().Unsubscribe(VelEvent::MessagingIdentity, &listener);
        service.UnregisterServer();
    }
    void Start() {
        module = login.Create(CLSID_QKLoginModule);
        ASSERT_TRUE(module);
        ASSERT_EQ(S_OK, module->InitModule(host.app, nullptr));
    }
    bool Delivered(size_t count) {
        return testsupport::PumpUntil([&] { return listener.documents.size() >= count; }, 5000);
    }

    TestHost host;
    IdentityListener listener;
    ModuleLibrary login{testsupport::BinFolder() + L"qkLogin.dll"};
    ComPtr<IVelUIModule> module;
};

TEST_F(LoginModuleAccount, ARequestIsAnsweredLaterEvenWithoutAnAccount) {
    Start();
    testsupport::PumpUntil([] { return false; }, 300);
    EXPECT_TRUE(listener.documents.empty()) << "no account, nothing to hand on at start";

    host.app->Bus().Fire(VelEvent::MessagingAccountAgain, 0, 0, 0);
    EXPECT_TRUE(listener.documents.empty()) << "the asker is still inside its Fire";
    ASSERT_TRUE(Delivered(1));
    EXPECT_NE(std::wstring::npos, listener.documents[0].find(L"<Result>Failure</Result>"));

    ConfigureAccount();
    host.app->Bus().Fire(VelEvent::MessagingAccountAgain, 0, 0, 0);
    ASSERT_TRUE(Delivered(2));
    EXPECT_NE(std::wstring::npos, listener.documents[1].find(L"<Result>Success</Result>"));
}
}  // namespace
