#pragma once
// A real main frame whose phone bridge has the suite's messaging library
// beside it, the private XMPP server of the CTest fixture "prosody", and the
// trace lines the bridge writes.
#include <string>

#include "support/CommandFixture.h"
#include "support/ProsodyServer.h"
#include "IPPhoneBoshPorxy.h"

namespace bridgetest {
// Port 1 of loopback: no service listens there, so a connection is refused at once.
inline constexpr const char* kClosedBoshUrl = "http://127.0.0.1:1/http-bind";

class BridgeTest : public commandtest::CommandTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The service's messaging-account document for the server's user.
    std::wstring Account(const std::string& password, const std::string& boshUrl) const;
    // Hands an account document to the frame as the host's event 23.
    void GiveAccount(const std::wstring& accountXml);
    bool SignInToServer();
    // No meeting runs in this session (the meeting component tells the frame).
    void ClearRunningMeetings() const;
    size_t TraceCount(const char* text) const;

    testsupport::ProsodyServer server;
    testsupport::EnvironmentFile trace{L"QK_TRACE_FILE"};
    // A messaging account the login module would hand on by itself.
    SavedRegistryValues messaging{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\Messaging", {L"Name"}};
    SavedRegistryValues reporting{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib", {L"ReportRunning"}};
    CIPPhoneBoshPorxy* bridge = nullptr;
};
}  // namespace bridgetest
