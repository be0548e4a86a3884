#pragma once
// The hashing SCRAM needs, done by the platform's BCrypt, and Base64.
#include <string>
#include <string_view>

namespace bosh {

// Each returns false when the platform refuses; outputs are raw bytes.
bool Sha1(std::string_view data, std::string& digest);
bool HmacSha1(std::string_view key, std::string_view data, std::string& mac);
bool Pbkdf2Sha1(std::string_view password, std::string_view salt, unsigned long iterations, std::string& key);
bool RandomBytes(size_t count, std::string& bytes);

std::string Base64Encode(std::string_view bytes);
// False for anything but canonical padded Base64 (white space is not allowed).
bool Base64Decode(std::string_view text, std::string& bytes);

}  // namespace bosh
