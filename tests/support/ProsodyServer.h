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
    std::map<std::string, std::string> m_values;
};

}  // namespace testsupport
