// zvntrace.dll: the suite's trace library. Each call appends one record to a
// log file: time, process and thread, level, and the text piece.
//
// The file is, in order of preference: the path in the environment variable
// QK_TRACE_FILE; the path in HKCU\SOFTWARE\Zorvan\Quillkit "TraceFile";
// %LOCALAPPDATA%\Zorvan\Quillkit\Logs\trace.log.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "UniqueHandle.h"
#include "shared/SuiteLogs.h"

namespace {
// The key is kept open once found: opening and closing it around every read
// doubles a record's trips to the registry.
std::wstring RegistryPath() {
    static std::mutex lock;
    static UniqueHkey key;
    std::lock_guard guard(lock);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!key && ::RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Zorvan\\Quillkit", 0, KEY_QUERY_VALUE,
                                    key.receive()) != ERROR_SUCCESS)
            return {};
        wchar_t buffer[MAX_PATH * 2] = {};
        DWORD bytes = sizeof(buffer) - sizeof(wchar_t);
        const LSTATUS status = ::RegGetValueW(key.get(), nullptr, L"TraceFile", RRF_RT_REG_SZ, nullptr, buffer, &bytes);
        if (status == ERROR_SUCCESS) return buffer;
        if (status != ERROR_KEY_DELETED) return {};
        key.reset();  // removed since: look for the key anew
    }
    return {};
}

UniqueFileHandle OpenLog() {
    std::wstring path = SuiteLogs::FromEnvironment(L"QK_TRACE_FILE");
    if (path.empty()) path = RegistryPath();
    return path.empty() ? SuiteLogs::OpenDefaultForAppend(L"trace.log") : SuiteLogs::OpenForAppend(path);
}

// Several processes and threads append to one file: an append-only handle
// makes each WriteFile land at the end, and the mutex keeps records whole.
// The file is opened per record (it may be renamed, removed or pointed
// elsewhere between two); the mutex is this library's for as long as it is
// loaded.
void Append(const std::string& record) {
    static const UniqueKernelHandle mutex(::CreateMutexW(nullptr, FALSE, L"Local\\ZvnTraceLogFile"));
    if (mutex) ::WaitForSingleObject(mutex.get(), 5000);
    if (const UniqueFileHandle file = OpenLog()) {
        DWORD written = 0;
        ::WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    }
    if (mutex) ::ReleaseMutex(mutex.get());
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
