#include "support/ProsodyServer.h"

#include <windows.h>

#include <fstream>

namespace testsupport {

ProsodyServer::ProsodyServer() {
    char path[MAX_PATH] = {};
    if (!::GetEnvironmentVariableA("QK_PROSODY_ENV_FILE", path, MAX_PATH)) return;
    std::ifstream env(path);
    std::string line;
    while (std::getline(env, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos) m_values[line.substr(0, equals)] = line.substr(equals + 1);
    }
}

std::string ProsodyServer::Value(const std::string& key) const {
    const auto found = m_values.find(key);
    return found == m_values.end() ? std::string() : found->second;
}

std::string ProsodyServer::BoshAddress() const {
    const std::string url = Value("QK_BOSH_URL");
    const size_t scheme = url.find("://");
    return scheme == std::string::npos ? url : url.substr(scheme + 3);
}

}  // namespace testsupport
