// qkUpdate.exe: the suite's update program. Asked with "/CheckVersion" it
// records the check (local time, process and the full argument text) as one
// line appended to a log, where tests and people can see it, and ends.
//
// The log is the path in the environment variable QK_UPDATE_LOG, or else
// %LOCALAPPDATA%\Zorvan\Quillkit\Logs\update.log. Exit code 0 when a check
// was recorded, 1 when the log could not be written, 2 for any other request
// (which is recorded too, so an unexpected start is visible).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "UniqueHandle.h"
#include "shared/SuiteLogs.h"

namespace {
constexpr wchar_t kCheckVersion[] = L"/CheckVersion";

std::wstring LogPath() { return SuiteLogs::File(L"QK_UPDATE_LOG", L"update.log"); }

// The arguments after the program name.
std::vector<std::wstring> Arguments() {
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv[i]);
    if (argv) ::LocalFree(argv);
    return arguments;
}

std::string ToUtf8(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                            nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), bytes, nullptr,
                              nullptr);
    return result;
}

bool Record(const char* request, const std::wstring& arguments) {
    const std::wstring path = LogPath();
    if (path.empty()) return false;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char header[96];
    std::snprintf(header, sizeof(header), "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] %s args=", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, ::GetCurrentProcessId(), request);
    const std::string line = header + ToUtf8(arguments) + "\r\n";
    // Append-only: checks started close together never overwrite each other.
    UniqueFileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    const std::vector<std::wstring> arguments = Arguments();
    std::wstring text;
    bool check = false;
    for (const std::wstring& argument : arguments) {
        if (!text.empty()) text += L' ';
        text += argument;
        check = check || ::CompareStringOrdinal(argument.c_str(), -1, kCheckVersion, -1, TRUE) == CSTR_EQUAL;
    }
    if (check) return Record("CheckVersion", text) ? 0 : 1;
    Record("Unknown", text);
    return 2;
}
