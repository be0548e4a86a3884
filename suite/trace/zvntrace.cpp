// zvntrace.dll: the suite's trace library. Each call appends one record to a
// log file: time, process and thread, level, and the text piece.
//
// The file is, in order of preference: the path in the environment variable
// QK_TRACE_FILE; the path in HKCU\SOFTWARE\Zorvan\Quillkit "TraceFile";
// %LOCALAPPDATA%\Zorvan\Quillkit\Logs\trace.log.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "UniqueHandle.h"
#include "shared/SuiteLogs.h"

namespace {
std::wstring RegistryPath() {
    wchar_t buffer[MAX_PATH * 2] = {};
    DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", L"TraceFile", RRF_RT_REG_SZ, &type, buffer,
                       &bytes) != ERROR_SUCCESS)
        return {};
    return buffer;
}

// The registry value and the default folder are looked up once a process:
// a process traces hundreds of lines, and each look-up costs several trips to
// the registry and the file system. The environment variable is read every
// time, as tests point it at a new file for each case.
const std::wstring& SettledPath() {
    static const std::wstring path = [] {
        std::wstring fromRegistry = RegistryPath();
        return fromRegistry.empty() ? SuiteLogs::DefaultFile(L"trace.log") : fromRegistry;
    }();
    return path;
}

// One mutex handle for the life of the process.
HANDLE FileMutex() {
    static const UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, L"Local\\ZvnTraceLogFile"));
    return mutex.get();
}

UniqueFileHandle OpenForAppend(const std::wstring& path) {
    return UniqueFileHandle(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Several processes and threads append to one file: an append-only handle
// makes each WriteFile land at the end, and the mutex keeps records whole.
void Append(const std::string& record) {
    const std::wstring fromEnvironment = SuiteLogs::FromEnvironment(L"QK_TRACE_FILE");
    const std::wstring& path = fromEnvironment.empty() ? SettledPath() : fromEnvironment;
    if (path.empty()) return;
    const HANDLE mutex = FileMutex();
    if (mutex) ::WaitForSingleObject(mutex, 5000);
    UniqueFileHandle file = OpenForAppend(path);
    // The default log folder may have been removed since it was made.
    if (!file && ::GetLastError() == ERROR_PATH_NOT_FOUND && fromEnvironment.empty() &&
        path == SuiteLogs::DefaultFile(L"trace.log"))
        file = OpenForAppend(path);
    if (file) {
        DWORD written = 0;
        ::WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    }
    if (mutex) ::ReleaseMutex(mutex);
}
}  // namespace

extern "C" __declspec(dllexport) int __cdecl ZVNTRACERAWA(int level, int, int, const char* text) {
    if (!text) return 0;
    try {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        char header[96];
        std::snprintf(header, sizeof(header), "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu:%lu] L%d ", now.wYear,
                      now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                      ::GetCurrentProcessId(), ::GetCurrentThreadId(), level);
        std::string record = header;
        record += text;
        if (record.empty() || record.back() != '\n') record += '\n';
        Append(record);
        return 1;
    } catch (...) {
        return 0;
    }
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) ::DisableThreadLibraryCalls(instance);
    return TRUE;
}
