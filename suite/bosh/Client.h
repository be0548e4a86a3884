#pragma once
// The client object behind the library's exports. One thread of its own runs
// the sessions one after another and makes every sink call; Login, LogOff and
// SendChatMessage only hand work to it and never wait.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "BoshClient.h"
#include "bosh/XmppLogin.h"

namespace bosh {

class CBoshClient final : public IBOSHClient {
public:
    CBoshClient();
    CBoshClient(const CBoshClient&) = delete;
    CBoshClient& operator=(const CBoshClient&) = delete;

    int Reserved0() override { return 0; }
    int SetSink(IBOSHClientSink* sink) override;
    int Configure(BOSHClientConfig config, int hold, int sendPresence) override;
    int Login(const char* boshAddress, const char* domain, const char* fullAddress, const char* password) override;
    int Reserved4() override { return 0; }
    int SendChatMessage(const char* receiver, const char* body) override;
    int LogOff() override;

    // Stops the thread (cutting any session short, without callbacks) and
    // deletes the object; from a callback the thread deletes it on its way out.
    void Release();

private:
    struct Command {
        bool login = false;  // else a log-off with no session to end
        LoginSettings settings;
    };

    ~CBoshClient();
    void Run();
    // One session from login to its end; the fault it ended with.
    Fault RunSession(const LoginSettings& settings);
    void Dispatch(CBoshSession& session, const XmlElement& stanza);
    void Report(const Fault& fault);

    std::atomic<IBOSHClientSink*> m_sink{nullptr};
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<Command> m_commands;
    LoginSettings m_configured;      // what Configure set, copied by each Login
    bool m_loginRunning = false;        // a Login command is being carried out
    CBoshSession* m_session = nullptr;  // the running session, signed in or not
    bool m_signedIn = false;
    bool m_quit = false;
    bool m_deleteOnExit = false;
    // Set by LogOff and Release; makes a running session or login end.
    std::atomic<bool> m_stop{false};
    unsigned long m_messageCount = 0;
    std::thread m_thread;
};

}  // namespace bosh
