#include "shared/SuiteLogs.h"

#include <windows.h>
#include <shlobj.h>

namespace SuiteLogs {
std::wstring FromEnvironment(const wchar_t* variable) {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(variable, buffer, static_cast<DWORD>(std::size(buffer)));
    return length > 0 && length < std::size(buffer) ? std::wstring(buffer, length) : std::wstring();
}

std::wstring DefaultFile(const wchar_t* fileName) {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base))) return {};
    std::wstring folder = base;
    for (const wchar_t* part : {L"\\Zorvan", L"\\Quillkit", L"\\Logs"}) {
        folder += part;
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder + L"\\" + fileName;
}

std::wstring File(const wchar_t* variable, const wchar_t* fileName) {
    std::wstring path = FromEnvironment(variable);
    return path.empty() ? DefaultFile(fileName) : path;
}
}  // namespace SuiteLogs
