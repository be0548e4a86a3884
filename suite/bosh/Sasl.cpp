#include "bosh/Sasl.h"

#include <algorithm>
#include <cstdlib>

#include "bosh/Crypto.h"

namespace bosh {
namespace {
// Servers keep their iteration counts far below this; a larger one would only
// stall the client's thread.
constexpr unsigned long kMaxIterations = 1000000;

class CPlain final : public CSaslMechanism {
public:
    CPlain(std::string user, std::string password) : m_user(std::move(user)), m_password(std::move(password)) {}
    const char* Name() const override { return "PLAIN"; }
    bool Start(std::string& response) override {
        response = std::string(1, '\0') + m_user + std::string(1, '\0') + m_password;
        return true;
    }
    bool Answer(std::string_view, std::string&) override { return false; }
    bool Verify(std::string_view) override { return true; }

private:
    std::string m_user;
    std::string m_password;
};

class CScramSha1 final : public CSaslMechanism {
public:
    CScramSha1(std::string user, std::string password, std::string nonce)
        : m_user(std::move(user)), m_password(std::move(password)), m_nonce(std::move(nonce)) {}
    const char* Name() const override { return "SCRAM-SHA-1"; }

    bool Start(std::string& response) override {
        if (m_nonce.empty()) {
            std::string random;
            if (!RandomBytes(24, random)) return false;
            m_nonce = Base64Encode(random);
        }
        m_clientFirstBare = "n=" + EscapeName(m_user) + ",r=" + m_nonce;
        response = "n,," + m_clientFirstBare;
        return true;
    }

    bool Answer(std::string_view challenge, std::string& response) override {
        if (m_answered) return false;
        m_answered = true;
        std::string nonce, salt;
        unsigned long iterations = 0;
        if (!ParseServerFirst(challenge, nonce, salt, iterations)) return false;
        // The server's nonce must extend ours, or this is not our exchange.
        if (nonce.size() <= m_nonce.size() || nonce.compare(0, m_nonce.size(), m_nonce) != 0) return false;
        const std::string withoutProof = "c=biws,r=" + nonce;
        const std::string authMessage = m_clientFirstBare + "," + std::string(challenge) + "," + withoutProof;
        std::string salted, clientKey, storedKey, clientSignature, serverKey;
        if (!Pbkdf2Sha1(m_password, salt, iterations, salted) || !HmacSha1(salted, "Client Key", clientKey) ||
            !Sha1(clientKey, storedKey) || !HmacSha1(storedKey, authMessage, clientSignature) ||
            !HmacSha1(salted, "Server Key", serverKey) || !HmacSha1(serverKey, authMessage, m_serverSignature))
            return false;
        std::string proof = clientKey;
        for (size_t i = 0; i < proof.size(); ++i) proof[i] = static_cast<char>(proof[i] ^ clientSignature[i]);
        response = withoutProof + ",p=" + Base64Encode(proof);
        return true;
    }

    bool Verify(std::string_view additionalData) override {
        if (m_serverSignature.empty() || additionalData.rfind("v=", 0) != 0) return false;
        std::string signature;
        return Base64Decode(additionalData.substr(2), signature) && signature == m_serverSignature;
    }

private:
    static std::string EscapeName(const std::string& name) {
        std::string escaped;
        for (char c : name) {
            if (c == '=') escaped += "=3D";
            else if (c == ',') escaped += "=2C";
            else escaped += c;
        }
        return escaped;
    }

    static bool ParseServerFirst(std::string_view text, std::string& nonce, std::string& salt,
                                 unsigned long& iterations) {
        std::string saltText, iterationText;
        size_t start = 0;
        bool first = true;
        while (start <= text.size()) {
            const size_t comma = std::min(text.find(',', start), text.size());
            const std::string_view field = text.substr(start, comma - start);
            if (field.size() < 2 || field[1] != '=') return false;
            // A mandatory extension ("m=") is one we cannot honour.
            if (first && field[0] == 'm') return false;
            first = false;
            const std::string value(field.substr(2));
            if (field[0] == 'r') nonce = value;
            else if (field[0] == 's') saltText = value;
            else if (field[0] == 'i') iterationText = value;
            start = comma + 1;
        }
        if (nonce.empty() || iterationText.empty() || !Base64Decode(saltText, salt) || salt.empty()) return false;
        if (iterationText.find_first_not_of("0123456789") != std::string::npos || iterationText.size() > 9)
            return false;
        iterations = std::strtoul(iterationText.c_str(), nullptr, 10);
        return iterations > 0 && iterations <= kMaxIterations;
    }

    std::string m_user;
    std::string m_password;
    std::string m_nonce;
    std::string m_clientFirstBare;
    std::string m_serverSignature;
    bool m_answered = false;
};
}  // namespace

std::unique_ptr<CSaslMechanism> ChooseSaslMechanism(const std::vector<std::string>& offered,
                                                    const std::string& user, const std::string& password,
                                                    const std::string& nonce) {
    const auto has = [&](const char* name) { return std::find(offered.begin(), offered.end(), name) != offered.end(); };
    if (has("SCRAM-SHA-1")) return std::make_unique<CScramSha1>(user, password, nonce);
    if (has("PLAIN")) return std::make_unique<CPlain>(user, password);
    return nullptr;
}

}  // namespace bosh
