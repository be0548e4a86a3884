// Stands in for the browser: the shell's "open" verb for web addresses is
// pointed here, and each start appends its arguments as one line to the file
// named by QK_URL_RECORD.
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"QK_URL_RECORD", path, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) return 2;

    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::wstring line;
    for (int i = 1; arguments && i < count; ++i) {
        if (i > 1) line += L' ';
        line += arguments[i];
    }
    if (arguments) ::LocalFree(arguments);
    line += L"\r\n";

    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0,
                                            nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), text.data(), bytes, nullptr, nullptr);
    const HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 3;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return 0;
}
