#include "Registry.h"

#include <cstring>

#include "OsVersion.h"
#include "StringEx.h"
#include "UniqueHandle.h"
#include "UserProfile.h"

namespace {
constexpr REGSAM kReadAccess = 0x20019;   // KEY_READ
constexpr REGSAM kWriteAccess = 0x20006;  // KEY_WRITE
constexpr REGSAM kAllAccess = 0xF003F;    // KEY_ALL_ACCESS
}  // namespace

HKEY CRegistry::EffectiveRoot(HKEY root) {
    if (root == HKEY_CURRENT_USER && GetOSVersion() == 8) return GetCurrentUserKey();
    return root;
}

HKEY CRegistry::GetCurrentUserKey() { return CUserProfile::Instance().RootKey(); }

BOOL CRegistry::ReadValue(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD type, BYTE* data, DWORD size,
                          REGSAM flags, DWORD* read) {
    UniqueHkey key;
    if (::RegOpenKeyExW(EffectiveRoot(root), subKey, 0, kReadAccess | flags, key.receive()) != ERROR_SUCCESS)
        return FALSE;
    DWORD actualType = 0;
    DWORD bytes = size;
    // Ask for the type first so that a value of another type never touches the output.
    if (::RegQueryValueExW(key.get(), name, nullptr, &actualType, nullptr, nullptr) != ERROR_SUCCESS ||
        actualType != type)
        return FALSE;
    if (::RegQueryValueExW(key.get(), name, nullptr, &actualType, data, &bytes) != ERROR_SUCCESS ||
        actualType != type)
        return FALSE;
    if (read) *read = bytes;
    return TRUE;
}

BOOL CRegistry::ReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD* value, REGSAM flags) {
    if (!root || !subKey || !name || !value) return FALSE;
    DWORD read = 0;
    DWORD bytes = 0;
    // A DWORD value of another size is as unusable as one of another type.
    if (!ReadValue(root, subKey, name, REG_DWORD, reinterpret_cast<BYTE*>(&read), sizeof(read), flags, &bytes) ||
        bytes != sizeof(read))
        return FALSE;
    *value = read;
    return TRUE;
}

BOOL CRegistry::ReadString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* buffer, DWORD length,
                           REGSAM flags) {
    if (!root || !subKey || !name || !buffer || length == 0) return FALSE;
    std::memset(buffer, 0, length * sizeof(wchar_t));
    if (!ReadValue(root, subKey, name, REG_SZ, reinterpret_cast<BYTE*>(buffer), length * sizeof(wchar_t), flags)) {
        // A text too long for the buffer may have been copied in part.
        std::memset(buffer, 0, length * sizeof(wchar_t));
        return FALSE;
    }
    buffer[length - 1] = L'\0';  // a stored text may lack its terminator
    return TRUE;
}

BOOL CRegistry::ReadStringEx(HKEY root, const wchar_t* subKey, const wchar_t* name, CStringEx* value,
                             REGSAM flags) {
    if (!value) return FALSE;
    value->Empty();
    constexpr int kLength = 2048;
    wchar_t* buffer = value->GetBuffer(kLength);
    const BOOL ok = ReadString(root, subKey, name, buffer, kLength, flags);
    value->ReleaseBuffer();
    return ok;
}

BOOL CRegistry::ReadBinary(HKEY root, const wchar_t* subKey, const wchar_t* name, BYTE* buffer, DWORD size,
                           REGSAM flags) {
    if (!root || !subKey || !name || !buffer) return FALSE;
    std::memset(buffer, 0, size);
    if (ReadValue(root, subKey, name, REG_BINARY, buffer, size, flags)) return TRUE;
    std::memset(buffer, 0, size);
    return FALSE;
}

BOOL CRegistry::WriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value, REGSAM flags) {
    if (!root || !subKey || !name) return FALSE;
    UniqueHkey key;
    if (::RegOpenKeyExW(EffectiveRoot(root), subKey, 0, kWriteAccess | flags, key.receive()) != ERROR_SUCCESS)
        key.reset(CreateKey(root, subKey, flags));
    if (!key) return FALSE;
    return ::RegSetValueExW(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

HKEY CRegistry::CreateKey(HKEY root, const wchar_t* subKey, REGSAM flags) {
    if (!root || !subKey) return nullptr;
    HKEY key = nullptr;
    if (::RegCreateKeyExW(EffectiveRoot(root), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kAllAccess | flags,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

BOOL CRegistry::ZvnGetSystemWow64Directory(wchar_t* buffer, UINT length) {
    if (!buffer) return FALSE;
    const HMODULE kernel = ::GetModuleHandleW(L"Kernel32.dll");
    if (!kernel) return FALSE;
    using Fn = UINT(WINAPI*)(LPWSTR, UINT);
    const auto function = reinterpret_cast<Fn>(::GetProcAddress(kernel, "GetSystemWow64DirectoryW"));
    return function && function(buffer, length) != 0;
}
