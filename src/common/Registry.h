#pragma once
// Typed registry access. Every operation opens its key, does one thing and
// closes it; reads under HKEY_CURRENT_USER follow the console user when the
// module runs outside that user's session.
#include <windows.h>

class CStringEx;

class CRegistry {
public:
    static BOOL ReadDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD* value, REGSAM flags = 0);
    static BOOL ReadString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* buffer, DWORD length,
                           REGSAM flags = 0);
    static BOOL ReadStringEx(HKEY root, const wchar_t* subKey, const wchar_t* name, CStringEx* value,
                             REGSAM flags = 0);
    static BOOL ReadBinary(HKEY root, const wchar_t* subKey, const wchar_t* name, BYTE* buffer, DWORD size,
                           REGSAM flags = 0);
    static BOOL WriteDword(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD value, REGSAM flags = 0);
    // Creates or opens with all access; the caller owns the key (null on failure).
    static HKEY CreateKey(HKEY root, const wchar_t* subKey, REGSAM flags = 0);
    // The root that stands for the current user.
    static HKEY GetCurrentUserKey();
    static BOOL ZvnGetSystemWow64Directory(wchar_t* buffer, UINT length);

private:
    static HKEY EffectiveRoot(HKEY root);
    // Opens, queries and closes; the value type must be `type` and its data fit
    // in `size` bytes. `read` receives the bytes the value holds.
    static BOOL ReadValue(HKEY root, const wchar_t* subKey, const wchar_t* name, DWORD type, BYTE* data, DWORD size,
                          REGSAM flags, DWORD* read = nullptr);
};

// The software key of the suite under the current user.
inline constexpr const wchar_t* kQuillkitKey = L"SOFTWARE\\Zorvan\\Quillkit";
