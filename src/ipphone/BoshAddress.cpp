#include "IPPhoneDefs.h"

namespace IPPhone {
std::string BoshAddress::Text() const {
    std::string text = node + "@" + domain;
    if (!resource.empty()) text += "/" + resource;
    return text;
}

BoshAddress BoshAddress::Parse(const char* text) {
    BoshAddress address;
    if (!text) return address;
    std::string full(text);
    const size_t slash = full.find('/');
    if (slash != std::string::npos) {
        address.resource = full.substr(slash + 1);
        full.resize(slash);
    }
    const size_t at = full.find('@');
    if (at == std::string::npos) {
        address.domain = full;
    } else {
        address.node = full.substr(0, at);
        address.domain = full.substr(at + 1);
    }
    return address;
}
}  // namespace IPPhone
