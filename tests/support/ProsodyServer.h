#pragma once
// What tests need to know about the private XMPP server the CTest fixture
// "prosody" runs (scripts/prosody.sh): its BOSH address and accounts.
#include <map>
#include <string>

namespace testsupport {

class ProsodyServer {
public:
    // Reads the fixture's env file, named by QK_PROSODY_ENV_FILE.
    ProsodyServer();
    // Reads the env file of another server (a path Windows can open).
    explicit ProsodyServer(const std::string& envFile);
    [[nodiscard]] bool Running() const { return !Value("QK_BOSH_URL").empty(); }
    // Texts as the env file has them ("" when absent).
    [[nodiscard]] std::string Value(const std::string& key) const;
    // The BOSH address without its scheme, as the desktop client hands it on.
    [[nodiscard]] std::string BoshAddress() const;
    [[nodiscard]] std::string Domain() const { return Value("QK_XMPP_DOMAIN"); }
    [[nodiscard]] std::string UserJid() const { return Value("QK_USER_JID"); }
    [[nodiscard]] std::string UserPassword() const { return Value("QK_USER_PASSWORD"); }
    [[nodiscard]] std::string PhoneJid() const { return Value("QK_PHONE_JID"); }
    [[nodiscard]] std::string PhonePassword() const { return Value("QK_PHONE_PASSWORD"); }

private:
    void Read(const std::string& envFile);
    std::map<std::string, std::string> m_values;
};

// A server of the test's own, in a Unix folder of its own, for tests that stop
// and restart it: scripts/prosody.sh (named by QK_PROSODY_SCRIPT) run through
// the Unix shell, which Wine starts like any program.
class PrivateProsody {
public:
    explicit PrivateProsody(std::string unixFolder) : m_folder(std::move(unixFolder)) {}
    ~PrivateProsody();
    PrivateProsody(const PrivateProsody&) = delete;
    PrivateProsody& operator=(const PrivateProsody&) = delete;

    // Ports 0: free ones. True when the server runs.
    bool Start(int httpPort = 0, int c2sPort = 0);
    bool Stop();
    [[nodiscard]] ProsodyServer Server() const { return ProsodyServer("Z:" + m_folder + "/env"); }

private:
    // Runs the script and waits until the server is `running` or not.
    bool Run(const std::string& arguments, bool running) const;
    std::string m_folder;
};

}  // namespace testsupport
