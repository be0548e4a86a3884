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
