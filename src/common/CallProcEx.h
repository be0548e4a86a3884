#pragma once
// Starts another program of the suite through the shell, optionally elevated,
// and optionally waits for it to end.
#include <windows.h>

#include <string>

class CCallProcEx {
public:
    // How ZvnWaitForObjExit waits; any other value does not wait.
    enum WaitType : DWORD {
        kNoWait = 0,
        kWaitBlocking = 1,
        kWaitPumping = 2,  // keeps this thread's windows alive while waiting
    };

    CCallProcEx() = delete;

    // True when the program was started and, if waited for, the wait succeeded.
    static BOOL ZvnShellEx(LPCWSTR lpszFileFullPath, LPCWSTR lpszCmdLine, DWORD dwWaitExitType, BOOL bRunAsAdmin,
                           LPDWORD lpdwExitCode);
    static BOOL ZvnWaitForObjExit(HANDLE hProcess, DWORD dwWaitExitType, LPDWORD lpdwExitCode);

    // The shell verb: elevation is only asked for where the system knows it
    // (classification 8, version 6 and later).
    static const wchar_t* ShellVerb(BOOL bRunAsAdmin, int osVersion) noexcept;
    // The path without its file part: "C:\a\b.exe" gives "C:\a", "C:\b.exe" gives "C:\".
    static std::wstring FolderOf(const std::wstring& path);
};
