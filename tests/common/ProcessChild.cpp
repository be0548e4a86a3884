// A program for the process-launching tests. Its arguments are steps run in
// order:
//   exit N          end with exit code N
//   wait NAME       wait (at most 30 s) until the named event is set
//   cwd FILE        write the current folder to FILE (UTF-16)
// Without an exit step the exit code is 0.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "UniqueHandle.h"

namespace {
void WriteText(const wchar_t* path, const std::wstring& text) {
    const UniqueFileHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return;
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    for (int i = 1; argv && i + 1 < count; i += 2) {
        const std::wstring step = argv[i];
        const wchar_t* value = argv[i + 1];
        if (step == L"exit") return static_cast<int>(std::wcstol(value, nullptr, 10));
        if (step == L"wait") {
            const UniqueKernelHandle event(::OpenEventW(SYNCHRONIZE, FALSE, value));
            if (event) ::WaitForSingleObject(event.get(), 30000);
        }
        if (step == L"cwd") {
            wchar_t folder[MAX_PATH] = {};
            ::GetCurrentDirectoryW(MAX_PATH, folder);
            WriteText(value, folder);
        }
    }
    return 0;
}
