#include "UserProfile.h"

#include <psapi.h>
#include <userenv.h>

#include <cwctype>
#include <string>
#include <vector>

#include "DLLHandle.h"
#include "OsVersion.h"
#include "UniqueHandle.h"

namespace {
bool EqualsNoCase(const std::wstring& a, const wchar_t* b) {
    const size_t length = wcslen(b);
    if (a.size() != length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

// "C:\Windows\explorer.exe" qualifies; the name and extension compare without case.
bool IsExplorerImage(const wchar_t* imagePath) {
    std::wstring path = imagePath;
    const size_t slash = path.find_last_of(L"\\/");
    const std::wstring file = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = file.find_last_of(L'.');
    if (dot == std::wstring::npos) return false;
    return EqualsNoCase(file.substr(0, dot), L"explorer") && EqualsNoCase(file.substr(dot), L".exe");
}
}  // namespace

CUserProfile& CUserProfile::Instance() {
    static CUserProfile profile;
    return profile;
}

CUserProfile::~CUserProfile() {
    // Destroyed as the module unloads, under the loader lock: the profile and
    // the libraries must have gone with Release. What is left is left alone.
    static_cast<void>(m_userenv.release());
    static_cast<void>(m_advapi.release());
}

void CUserProfile::Release() noexcept {
    if (m_rootKey && m_rootKey != HKEY_CURRENT_USER && m_token) {
        using UnloadFn = BOOL(WINAPI*)(HANDLE, HANDLE);
        if (const auto unload = reinterpret_cast<UnloadFn>(
                ::GetProcAddress(SystemLibrary(m_userenv, L"userenv.dll"), "UnloadUserProfile")))
            unload(m_token.get(), m_rootKey);
    }
    m_rootKey = nullptr;
    m_token.reset();
    m_userenv.reset();
    m_advapi.reset();
}

HMODULE CUserProfile::SystemLibrary(UniqueHmodule& library, const wchar_t* name) {
    if (!library) library.reset(LoadSystemLibrary(name));
    return library.get();
}

bool CUserProfile::IsInteractiveProcess() {
    UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.receive())) return true;
    DWORD size = 0;
    std::vector<BYTE> buffer(512);
    if (!::GetTokenInformation(token.get(), TokenGroups, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return true;
        buffer.resize(size);
        if (!::GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) return true;
    }
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID interactive = nullptr;
    if (!::AllocateAndInitializeSid(&nt, 1, SECURITY_INTERACTIVE_RID, 0, 0, 0, 0, 0, 0, 0, &interactive)) return true;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    bool found = false;
    for (DWORD i = 0; i < groups->GroupCount && !found; ++i) found = ::EqualSid(groups->Groups[i].Sid, interactive);
    ::FreeSid(interactive);
    return found;
}

HKEY CUserProfile::RootKey() {
    if (m_rootKey) return m_rootKey;
    m_rootKey = IsInteractiveProcess() ? HKEY_CURRENT_USER : LoadConsoleUserProfile();
    if (!m_rootKey) m_rootKey = HKEY_CURRENT_USER;
    return m_rootKey;
}

HKEY CUserProfile::LoadConsoleUserProfile() {
    using LoadProfileFn = BOOL(WINAPI*)(HANDLE, LPPROFILEINFOW);
    using ImpersonateFn = BOOL(WINAPI*)(HANDLE);
    using RevertFn = BOOL(WINAPI*)();
    const HMODULE userenv = SystemLibrary(m_userenv, L"userenv.dll");
    const HMODULE advapi = SystemLibrary(m_advapi, L"advapi32.dll");
    if (!userenv || !advapi) return nullptr;
    const auto loadProfile = reinterpret_cast<LoadProfileFn>(::GetProcAddress(userenv, "LoadUserProfileW"));
    const auto impersonate = reinterpret_cast<ImpersonateFn>(::GetProcAddress(advapi, "ImpersonateLoggedOnUser"));
    const auto revert = reinterpret_cast<RevertFn>(::GetProcAddress(advapi, "RevertToSelf"));
    if (!loadProfile || !impersonate || !revert) return nullptr;

    const HANDLE token = GetCurrentLogonUserToken();
    if (!token || !impersonate(token)) return nullptr;
    wchar_t userName[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const BOOL named = ::GetUserNameW(userName, &length);
    revert();
    if (!named) return nullptr;

    PROFILEINFOW profile{};
    profile.dwSize = sizeof(profile);  // the platform checks it: 56 bytes in a 64-bit process
    profile.dwFlags = PI_NOUI;
    profile.lpUserName = userName;
    if (!loadProfile(token, &profile)) return nullptr;
    return static_cast<HKEY>(profile.hProfile);
}

HANDLE CUserProfile::GetCurrentLogonUserToken() {
    if (m_token) return m_token.get();
    DWORD consoleSession = 0xFFFFFFFF;
    bool sessionKnown = false;
    if (GetOSVersion() > 5) {
        const HMODULE kernel = ::GetModuleHandleW(L"Kernel32.dll");
        if (!kernel) {
            ::OutputDebugStringW(L"CQKCallProcess::GetCurrentLogonUserToken: LoadSystemLibrary Kernel32.dll FAILED!\n");
            return nullptr;
        }
        using SessionFn = DWORD(WINAPI*)();
        const auto activeSession =
            reinterpret_cast<SessionFn>(::GetProcAddress(kernel, "WTSGetActiveConsoleSessionId"));
        if (!activeSession) return nullptr;
        consoleSession = activeSession();
        if (consoleSession == 0xFFFFFFFF) {
            ::OutputDebugStringW(L"CQKCallProcess::GetCurrentLogonUserToken: dwConsoleSessionId is 0xffffffff!\n");
            return nullptr;
        }
        sessionKnown = true;
    }

    DWORD processes[1024] = {};
    DWORD bytes = 0;
    if (!::EnumProcesses(processes, sizeof(processes), &bytes)) {
        ::OutputDebugStringW(L"CQKCallProcess::GetCurrentLogonUserToken: pfnEnumProcesses FAILED!\n");
        return nullptr;
    }
    for (DWORD i = 0; i < bytes / sizeof(DWORD); ++i) {
        UniqueKernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, processes[i]));
        if (!process) continue;
        wchar_t image[MAX_PATH] = {};
        if (!::GetProcessImageFileNameW(process.get(), image, MAX_PATH) || !IsExplorerImage(image)) continue;
        DWORD session = 0;
        if (sessionKnown && (!::ProcessIdToSessionId(processes[i], &session) || session != consoleSession)) continue;
        if (::OpenProcessToken(process.get(), TOKEN_ALL_ACCESS, m_token.receive())) break;
    }
    return m_token.get();
}
