#include "bosh/Crypto.h"

#include <windows.h>
#include <bcrypt.h>

#include "UniqueHandle.h"

namespace bosh {
namespace {
struct AlgorithmTraits {
    using Type = BCRYPT_ALG_HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept { ::BCryptCloseAlgorithmProvider(value, 0); }
};
struct HashTraits {
    using Type = BCRYPT_HASH_HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept { ::BCryptDestroyHash(value); }
};
using UniqueAlgorithm = UniqueHandle<AlgorithmTraits>;
using UniqueHash = UniqueHandle<HashTraits>;

constexpr size_t kSha1Bytes = 20;

bool Ok(NTSTATUS status) { return status >= 0; }

PUCHAR Bytes(std::string_view text) { return reinterpret_cast<PUCHAR>(const_cast<char*>(text.data())); }

bool Digest(bool hmac, std::string_view key, std::string_view data, std::string& out) {
    UniqueAlgorithm algorithm;
    if (!Ok(::BCryptOpenAlgorithmProvider(algorithm.receive(), BCRYPT_SHA1_ALGORITHM, nullptr,
                                          hmac ? BCRYPT_ALG_HANDLE_HMAC_FLAG : 0)))
        return false;
    UniqueHash hash;
    if (!Ok(::BCryptCreateHash(algorithm.get(), hash.receive(), nullptr, 0, hmac ? Bytes(key) : nullptr,
                               hmac ? static_cast<ULONG>(key.size()) : 0, 0)))
        return false;
    if (!Ok(::BCryptHashData(hash.get(), Bytes(data), static_cast<ULONG>(data.size()), 0))) return false;
    out.assign(kSha1Bytes, '\0');
    return Ok(::BCryptFinishHash(hash.get(), reinterpret_cast<PUCHAR>(out.data()), kSha1Bytes, 0));
}

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}
}  // namespace

bool Sha1(std::string_view data, std::string& digest) { return Digest(false, {}, data, digest); }

bool HmacSha1(std::string_view key, std::string_view data, std::string& mac) { return Digest(true, key, data, mac); }

bool Pbkdf2Sha1(std::string_view password, std::string_view salt, unsigned long iterations, std::string& key) {
    UniqueAlgorithm algorithm;
    if (!Ok(::BCryptOpenAlgorithmProvider(algorithm.receive(), BCRYPT_SHA1_ALGORITHM, nullptr,
                                          BCRYPT_ALG_HANDLE_HMAC_FLAG)))
        return false;
    key.assign(kSha1Bytes, '\0');
    return Ok(::BCryptDeriveKeyPBKDF2(algorithm.get(), Bytes(password), static_cast<ULONG>(password.size()),
                                      Bytes(salt), static_cast<ULONG>(salt.size()), iterations,
                                      reinterpret_cast<PUCHAR>(key.data()), kSha1Bytes, 0));
}

bool RandomBytes(size_t count, std::string& bytes) {
    bytes.assign(count, '\0');
    return Ok(::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()), static_cast<ULONG>(count),
                                BCRYPT_USE_SYSTEM_PREFERRED_RNG));
}

std::string Base64Encode(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t left = bytes.size() - i;
        unsigned long group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (left > 2) group |= static_cast<unsigned char>(bytes[i + 2]);
        text += kAlphabet[(group >> 18) & 63];
        text += kAlphabet[(group >> 12) & 63];
        text += left > 1 ? kAlphabet[(group >> 6) & 63] : '=';
        text += left > 2 ? kAlphabet[group & 63] : '=';
    }
    return text;
}

bool Base64Decode(std::string_view text, std::string& bytes) {
    bytes.clear();
    if (text.size() % 4 != 0) return false;
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        const int padding = last ? (text[i + 3] == '=') + (text[i + 2] == '=') : 0;
        if (padding == 1 && text[i + 2] == '=') return false;
        unsigned long group = 0;
        for (int j = 0; j < 4 - padding; ++j) {
            const int value = Sextet(text[i + j]);
            if (value < 0) return false;
            group = (group << 6) | static_cast<unsigned long>(value);
        }
        group <<= 6 * padding;
        bytes += static_cast<char>((group >> 16) & 0xFF);
        if (padding < 2) bytes += static_cast<char>((group >> 8) & 0xFF);
        if (padding < 1) bytes += static_cast<char>(group & 0xFF);
    }
    return true;
}

}  // namespace bosh
