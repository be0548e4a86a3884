#include "ModuleState.h"

#include <atomic>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
std::atomic<HINSTANCE> g_resourceInstance{nullptr};
}

namespace ModuleState {
HINSTANCE Instance() noexcept { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

HINSTANCE ResourceInstance() noexcept { return g_resourceInstance.load(); }

void SetResourceInstance(HINSTANCE resource) noexcept { g_resourceInstance.store(resource); }

std::wstring Folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(Instance(), path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    path.resize(slash == std::wstring::npos ? 0 : slash + 1);
    return path;
}
}  // namespace ModuleState
