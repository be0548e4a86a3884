#include "CallProcEx.h"

#include <shellapi.h>

#include <cstdio>

#include "OsVersion.h"
#include "Trace.h"
#include "UniqueHandle.h"

namespace {
struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) noexcept { ::FindClose(value); }
};
using UniqueFindHandle = UniqueHandle<FindTraits>;

constexpr ULONG kShellMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_DOENVSUBST;  // 0x240

// Takes every queued message off this thread's queue and dispatches it; false
// when a quit request was among them, which is put back for the thread's own
// loop.
bool DispatchQueued() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(-1);
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}
}  // namespace

const wchar_t* CCallProcEx::ShellVerb(BOOL bRunAsAdmin, int osVersion) noexcept {
    return bRunAsAdmin && osVersion == 8 ? L"runas" : L"open";
}

std::wstring CCallProcEx::FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        // "C:b.exe" keeps its drive; a bare name has no folder.
        return path.size() >= 2 && path[1] == L':' ? path.substr(0, 2) : std::wstring();
    }
    // A root keeps its separator: "C:\" and "\" are folders, "C:" is not.
    if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

BOOL CCallProcEx::ZvnShellEx(LPCWSTR lpszFileFullPath, LPCWSTR lpszCmdLine, DWORD dwWaitExitType, BOOL bRunAsAdmin,
                             LPDWORD lpdwExitCode) {
    CAutoFunTrace trace("CCallProcEx::ZvnShellEx(LPCTSTR lpszFileFullPath, LPCTSTR lpszCmdLine, BOOL bRunAsAdmin)");
    {
        const CVarAdapter file(lpszFileFullPath);
        const CVarAdapter line(lpszCmdLine);
        TraceMessage2({{"lpszFileFullPath", &file}, {"lpszCmdLine", &line}});
    }
    if (!lpszFileFullPath || !lpszCmdLine) {
        TraceText(2, "CCallProcEx::ZvnShellEx: input para is NULL!\n");
        return FALSE;
    }

    const std::wstring folder = FolderOf(lpszFileFullPath);
    TraceText(2, "CCallProcEx::ZvnShellEx: Launching spec process to start at spec directory.\n");
    TraceText(2, lpszCmdLine);

    WIN32_FIND_DATAW found{};
    if (!UniqueFindHandle(::FindFirstFileW(lpszFileFullPath, &found))) {
        TraceText(2, "CCallProcEx::ZvnShellEx: can not find the file!\n");
        return FALSE;
    }
    // The short form keeps a path with spaces from being split by the shell.
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD shortLength = ::GetShortPathNameW(lpszFileFullPath, shortPath, MAX_PATH);
    const wchar_t* file = shortLength > 0 && shortLength < MAX_PATH ? shortPath : lpszFileFullPath;

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = kShellMask;
    info.hwnd = nullptr;
    info.lpVerb = ShellVerb(bRunAsAdmin, GetOSVersion());
    info.lpFile = file;
    info.lpParameters = lpszCmdLine;
    info.lpDirectory = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExW(&info);
    if (info.hProcess) {
        const UniqueKernelHandle process(info.hProcess);
        return ZvnWaitForObjExit(process.get(), dwWaitExitType, lpdwExitCode);
    }
    TraceText(2, "CCallProcEx::ZvnShellEx: Launching process FAILED!\n");
    return FALSE;
}

BOOL CCallProcEx::ZvnWaitForObjExit(HANDLE hProcess, DWORD dwWaitExitType, LPDWORD lpdwExitCode) {
    CAutoFunTrace trace("CCallProcEx::ZvnWaitForObjExit(HANDLE hProcess, DWORD dwWaitExitType, LPDWORD lpdwExitCode)");
    if (!hProcess) {
        TraceText(2, "CCallProcEx::ZvnWaitForObjExit: hProcess is NULL!\n");
        return FALSE;
    }
    if (hProcess == INVALID_HANDLE_VALUE) {
        TraceText(2, "CCallProcEx::ZvnWaitForObjExit: hProcess is INVALID_HANDLE_VALUE!\n");
        return FALSE;
    }

    if (dwWaitExitType == kWaitBlocking) {
        ::WaitForSingleObject(hProcess, INFINITE);
    } else if (dwWaitExitType == kWaitPumping) {
        for (;;) {
            const DWORD result = ::MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_ALLINPUT);
            if (result == WAIT_OBJECT_0) break;
            if (result != WAIT_OBJECT_0 + 1) break;
            if (!DispatchQueued()) break;
        }
    }

    if (lpdwExitCode && !::GetExitCodeProcess(hProcess, lpdwExitCode)) {
        char text[96] = {};
        std::snprintf(text, sizeof text, "CCallProcEx::ZvnWaitForObjExit: GetExitCodeProcess FAILED, Error=%d",
                      static_cast<int>(::GetLastError()));
        TraceText(2, text);
    }
    return TRUE;
}
