#pragma once
// The desk phone as tests play it: a second client of the suite's messaging
// library, signed in to the private XMPP server as the phone's account.
#include <mutex>
#include <string>
#include <vector>

#include "BoshClient.h"
#include "UniqueHandle.h"
#include "support/ProsodyServer.h"

namespace testsupport {
class DeskPhone final : public bosh::IBOSHClientSink {
public:
    DeskPhone() = default;
    ~DeskPhone();
    DeskPhone(const DeskPhone&) = delete;
    DeskPhone& operator=(const DeskPhone&) = delete;

    // Loads bosh.dll from the test's folder and signs in as the server's phone.
    bool SignIn(const ProsodyServer& server);
    // Others write to the phone's account on a shared server: only bodies
    // from `sender` (a full address) are kept from now on.
    void ListenTo(const std::string& sender);
    bool Send(const std::string& receiver, const std::string& body);
    // The `n`th body kept (from 1), waited for while this thread's messages
    // are dispatched; empty when it does not come.
    std::string Body(size_t n);

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
    int m_state = 0;  // 1 signed in, -1 failed
    std::string m_listenTo;
    std::vector<std::string> m_bodies;
};
}  // namespace testsupport
