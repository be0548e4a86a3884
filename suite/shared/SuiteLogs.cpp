#include "shared/SuiteLogs.h"

#include <windows.h>
#include <shlobj.h>

#include <mutex>

namespace SuiteLogs {
namespace {
std::wstring MakeFolder() {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base))) return {};
    std::wstring folder = base;
    for (const wchar_t* part : {L"\\Zorvan", L"\\Quillkit", L"\\Logs"}) {
        folder += part;
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}

// Empty when the folder cannot be found.
std::wstring Folder(bool again) {
    static std::mutex lock;
    static std::wstring folder;
    std::lock_guard guard(lock);
    if (folder.empty() || again) folder = MakeFolder();
    return folder;
}
}  // namespace

std::wstring FromEnvironment(const wchar_t* variable) {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(variable, buffer, static_cast<DWORD>(std::size(buffer)));
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
}

std::wstring DefaultFile(const wchar_t* fileName) {
    const std::wstring folder = Folder(true);
    return folder.empty() ? folder : folder + L"\\" + fileName;
}

std::wstring File(const wchar_t* variable, const wchar_t* fileName) {
    std::wstring path = FromEnvironment(variable);
    return path.empty() ? DefaultFile(fileName) : path;
}
UniqueFileHandle OpenForAppend(const std::wstring& path) {
    return UniqueFileHandle(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueFileHandle OpenDefaultForAppend(const wchar_t* fileName) {
    for (bool again : {false, true}) {
        const std::wstring folder = Folder(again);
        if (folder.empty()) continue;
        UniqueFileHandle file = OpenForAppend(folder + L"\\" + fileName);
        if (file) return file;
    }
    return {};
}
}  // namespace SuiteLogs
