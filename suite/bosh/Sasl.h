#pragma once
// The client's side of SASL: SCRAM-SHA-1 (RFC 5802, without channel binding)
// and PLAIN where a server offers it and not SCRAM. Messages are raw bytes;
// the stanza layer carries them in Base64.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace bosh {

class CSaslMechanism {
public:
    virtual ~CSaslMechanism() = default;
    [[nodiscard]] virtual const char* Name() const = 0;
    // The initial response sent with the mechanism's name.
    virtual bool Start(std::string& response) = 0;
    // False when the challenge is not one this exchange can answer.
    virtual bool Answer(std::string_view challenge, std::string& response) = 0;
    // Data that came with the server's success; false when it does not prove
    // that the server knows the password.
    virtual bool Verify(std::string_view additionalData) = 0;
};

// SCRAM-SHA-1 when offered, else PLAIN, else null. `nonce` replaces the
// random client nonce (for checks against published exchanges).
std::unique_ptr<CSaslMechanism> ChooseSaslMechanism(const std::vector<std::string>& offered,
                                                    const std::string& user, const std::string& password,
                                                    const std::string& nonce = {});

}  // namespace bosh
