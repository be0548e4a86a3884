#include "support/ProsodyServer.h"

#include <windows.h>

#include <fstream>

#include "UniqueHandle.h"

namespace testsupport {

namespace {
std::string Environment(const char* name) {
    char value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, MAX_PATH);
    return length && length < MAX_PATH ? value : "";
}
}  // namespace

ProsodyServer::ProsodyServer() {
    const std::string path = Environment("QK_PROSODY_ENV_FILE");
    if (!path.empty()) Read(path);
}

ProsodyServer::ProsodyServer(const std::string& envFile) { Read(envFile); }

void ProsodyServer::Read(const std::string& envFile) {
    std::ifstream env(envFile);
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

bool PrivateProsody::Start(int httpPort, int c2sPort) {
    // The script writes the env file once the server answers.
    return Run("start " + m_folder + " " + std::to_string(httpPort) + " " + std::to_string(c2sPort), true);
}

PrivateProsody::~PrivateProsody() {
    Stop();
    ::RemoveDirectoryA(("Z:" + m_folder).c_str());
}

bool PrivateProsody::Stop() { return Run("stop " + m_folder, false); }

bool PrivateProsody::Run(const std::string& arguments, bool running) const {
    const std::string script = Environment("QK_PROSODY_SCRIPT");
    if (script.empty()) return false;
    std::string commandLine = "Z:\\bin\\bash " + script + " " + arguments;
    STARTUPINFOA startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    UniqueKernelHandle thread(process.hThread), handle(process.hProcess);
    // Wine hands a Unix program on without a process to wait for: the env
    // file tells when the script is done.
    for (int i = 0; i < 300; ++i) {
        if (Server().Running() == running) return true;
        ::Sleep(100);
    }
    return false;
}

}  // namespace testsupport
