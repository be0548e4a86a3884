#include "BridgeFixture.h"

#include <wrl/client.h>

#include <fstream>
#include <sstream>

#include "QkServiceInterfaces.h"
#include "ComHolders.h"

namespace bridgetest {
void BridgeTest::SetUp() {
    ASSERT_TRUE(server.Running()) << "the prosody fixture is not running (QK_PROSODY_ENV_FILE)";
    messaging.RemoveAll();
    reporting.RemoveAll();
    CommandTest::SetUp();
    ClearRunningMeetings();
    host.app->Bus().Subscribe(VelEvent::MessagingAccountAgain, &listener);  // the account asked for again
    bridge = CIPPhoneBoshPorxy::Instance();
    ASSERT_NE(nullptr, bridge) << "the frame starts the bridge when bosh.dll is beside it";
}

void BridgeTest::TearDown() {
    CIPPhoneBoshPorxy::SetRandomSource(nullptr);
    host.app->Bus().Unsubscribe(VelEvent::MessagingAccountAgain, &listener);
    CommandTest::TearDown();
    EXPECT_EQ(nullptr, CIPPhoneBoshPorxy::Instance()) << "the frame's end takes the bridge with it";
    ClearRunningMeetings();
}

std::wstring BridgeTest::Account(const std::string& password, const std::string& boshUrl) const {
    const auto wide = [](const std::string& text) { return std::wstring(text.begin(), text.end()); };
    return L"<GetParleyAccount><Result>Success</Result><Information><Name>" + wide(server.UserJid()) +
           L"</Name><Password>" + wide(password) + L"</Password><ParleyBoshUrl>" + wide(boshUrl) +
           L"</ParleyBoshUrl></Information></GetParleyAccount>";
}

void BridgeTest::GiveAccount(const std::wstring& accountXml) {
    host.app->Bus().Fire(VelEvent::MessagingIdentity, reinterpret_cast<INT_PTR>(accountXml.c_str()), 0, 0);
}

bool BridgeTest::SignInToServer() {
    GiveAccount(Account(server.UserPassword(), server.Value("QK_BOSH_URL")));
    return testsupport::PumpUntil([this] { return bridge->LoggedIn(); }, 20000);
}

void BridgeTest::ClearRunningMeetings() const {
    Microsoft::WRL::ComPtr<IQKSuiteState> state;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_QKMeetingComponent, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state)));
    ASSERT_EQ(S_OK, state->SetRunningMeetings(Bstr(L"<meetings/>").get()));
}

size_t BridgeTest::TraceCount(const char* text) const {
    std::ifstream file(trace.Path().c_str(), std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    const std::string all = content.str();
    size_t count = 0;
    for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) ++count;
    return count;
}
}  // namespace bridgetest
