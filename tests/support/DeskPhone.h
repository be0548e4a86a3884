#pragma once
// The desk phone as the tests play it: a second client of the suite's
// messaging library, signed in to the private XMPP server as the phone's
// account, that sends message bodies and collects the ones it receives.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "BoshClient.h"
#include "UniqueHandle.h"
#include "support/ProsodyServer.h"

namespace testsupport {
class DeskPhone final : public bosh::IBOSHClientSink {
public:
    struct Received {
        std::string sender;
        std::string body;
    };

    DeskPhone() = default;
    ~DeskPhone();
    DeskPhone(const DeskPhone&) = delete;
    DeskPhone& operator=(const DeskPhone&) = delete;

    // Loads bosh.dll from the test's folder and signs in as the server's phone.
    bool SignIn(const ProsodyServer& server, DWORD timeoutMs = 20000);
    // Others may write to the phone's account on a shared server: only
    // bodies from `sender` (a full address) are kept from now on.
    void ListenTo(const std::string& sender);
    bool Send(const std::string& receiver, const std::string& body);
    // Waits, dispatching this thread's messages, until `count` bodies have arrived.
    bool WaitForMessages(size_t count, DWORD timeoutMs);
    [[nodiscard]] std::vector<Received> Messages();

    int onLogin() override;
    int onEvent(int, int) override { return 0; }
    int onMessageReceived(const char* sender, const char* body) override;
    int onError(int code, int detail) override;
    int onReady() override { return 0; }

private:
    UniqueHmodule m_library;
    PFN_ReleaseBOSHClient m_release = nullptr;
    bosh::IBOSHClient* m_client = nullptr;
    std::mutex m_lock;
    bool m_signedIn = false;
    int m_error = -1;
    std::string m_listenTo;
    std::vector<Received> m_messages;
};
}  // namespace testsupport
