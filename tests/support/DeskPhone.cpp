#include "support/DeskPhone.h"

#include "support/TestSupport.h"

namespace testsupport {

DeskPhone::~DeskPhone() {
    // Returns once the client's thread is gone: no callback follows.
    if (m_client && m_release) m_release(m_client);
}

bool DeskPhone::SignIn(const ProsodyServer& server, DWORD timeoutMs) {
    m_library.reset(::LoadLibraryW((BinFolder() + L"bosh.dll").c_str()));
    if (!m_library) return false;
    const auto create = reinterpret_cast<PFN_CreateBOSHClient>(::GetProcAddress(m_library.get(), "CreateBOSHClient"));
    m_release = reinterpret_cast<PFN_ReleaseBOSHClient>(::GetProcAddress(m_library.get(), "ReleaseBOSHClient"));
    if (!create || !m_release || !(m_client = create())) return false;
    m_client->SetSink(this);
    m_client->Configure({nullptr, "", "", ""}, 1, 1);
    const std::string full = server.PhoneJid() + "/desk" + std::to_string(::GetCurrentProcessId());
    m_client->Login(server.BoshAddress().c_str(), server.Domain().c_str(), full.c_str(),
                    server.PhonePassword().c_str());
    return PumpUntil(
        [this] {
            std::lock_guard lock(m_lock);
            return m_signedIn || m_error >= 0;
        },
        timeoutMs) &&
           m_signedIn;
}

void DeskPhone::ListenTo(const std::string& sender) {
    std::lock_guard lock(m_lock);
    m_listenTo = sender;
}

bool DeskPhone::Send(const std::string& receiver, const std::string& body) {
    return m_client && m_client->SendChatMessage(receiver.c_str(), body.c_str()) == 0;
}

bool DeskPhone::WaitForMessages(size_t count, DWORD timeoutMs) {
    return PumpUntil(
        [this, count] {
            std::lock_guard lock(m_lock);
            return m_messages.size() >= count;
        },
        timeoutMs);
}

std::vector<DeskPhone::Received> DeskPhone::Messages() {
    std::lock_guard lock(m_lock);
    return m_messages;
}

int DeskPhone::onLogin() {
    std::lock_guard lock(m_lock);
    m_signedIn = true;
    return 0;
}

int DeskPhone::onMessageReceived(const char* sender, const char* body) {
    std::lock_guard lock(m_lock);
    const std::string from = sender ? sender : "";
    if (m_listenTo.empty() || from == m_listenTo) m_messages.push_back({from, body ? body : ""});
    return 0;
}

int DeskPhone::onError(int code, int) {
    std::lock_guard lock(m_lock);
    m_signedIn = false;
    m_error = code;
    return 0;
}
}  // namespace testsupport
