#pragma once
// A real main frame whose phone bridge has the suite's messaging library
// beside it, a private XMPP server (the CTest fixture "prosody"), and the
// trace lines the bridge writes.
#include <string>
#include <vector>

#include "support/CommandFixture.h"
#include "support/ProsodyServer.h"
#include "IPPhoneBoshPorxy.h"

namespace bridgetest {
class BridgeTest : public commandtest::CommandTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The messaging-account document of the suite's service.
    static std::wstring Account(const std::string& jid, const std::string& password, const std::string& boshUrl);
    // Hands the account to the frame as the host's event 23.
    void GiveAccount(const std::wstring& accountXml);
    // Signs the bridge in to the fixture's server as the user.
    bool SignInToServer();
    // No meeting runs in this session (the meeting component tells the frame).
    void ClearRunningMeetings() const;
    // How many trace lines contain `text`.
    size_t TraceCount(const char* text) const;
    // Event 24 (the account asked for again) fired on the host's bus.
    size_t AccountRequests() const { return accountAgain.fired.size(); }

    testsupport::ProsodyServer server;
    testsupport::EnvironmentFile trace{L"QK_TRACE_FILE"};
    SavedRegistryValues messaging{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\Messaging",
                                  {L"Name", L"Password", L"BoshUrl", L"ErrorMessage", L"ErrorID"}};
    SavedRegistryValues reporting{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib", {L"ReportRunning", L"InstantMeetingKey"}};
    SavedRegistryValues always{HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", {L"AlwaysStartFromIpphone"}};
    commandtest::BusRecorder accountAgain;
    CIPPhoneBoshPorxy* bridge = nullptr;
};

// A BOSH address on loopback where nothing listens.
std::string ClosedBoshUrl();
}  // namespace bridgetest
