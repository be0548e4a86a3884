#include "support/DeskPhone.h"

#include "support/TestSupport.h"

namespace testsupport {
namespace {
constexpr DWORD kWaitMs = 20000;
}

DeskPhone::~DeskPhone() {
    // Returns once the client's thread is gone: no callback follows.
    if (m_client && m_release) m_release(m_client);
}

bool DeskPhone::SignIn(const ProsodyServer& server) {
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
    PumpUntil([this] { std::lock_guard lock(m_lock); return m_state != 0; }, kWaitMs);
    std::lock_guard lock(m_lock);
    return m_state == 1;
}

void DeskPhone::ListenTo(const std::string& sender) {
    std::lock_guard lock(m_lock);
    m_listenTo = sender;
}

bool DeskPhone::Send(const std::string& receiver, const std::string& body) {
    return m_client && m_client->SendChatMessage(receiver.c_str(), body.c_str()) == 0;
}

std::string DeskPhone::Body(size_t n) {
    PumpUntil([&] { std::lock_guard lock(m_lock); return m_bodies.size() >= n; }, kWaitMs);
    std::lock_guard lock(m_lock);
    return n >= 1 && m_bodies.size() >= n ? m_bodies[n - 1] : std::string();
}

int DeskPhone::onLogin() {
    std::lock_guard lock(m_lock);
    m_state = 1;
    return 0;
}

int DeskPhone::onMessageReceived(const char* sender, const char* body) {
    std::lock_guard lock(m_lock);
    if (m_listenTo.empty() || (sender && m_listenTo == sender)) m_bodies.emplace_back(body ? body : "");
    return 0;
}

int DeskPhone::onError(int, int) {
    std::lock_guard lock(m_lock);
    m_state = -1;
    return 0;
}
}  // namespace testsupport
