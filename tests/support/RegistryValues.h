#pragma once
// Registry values a test changes, put back as they were when it ends.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

class SavedRegistryValues {
public:
    // Remembers `names` under root\subKey (the key's default value is the name "").
    SavedRegistryValues(HKEY root, std::wstring subKey, std::vector<std::wstring> names);
    ~SavedRegistryValues();
    SavedRegistryValues(const SavedRegistryValues&) = delete;
    SavedRegistryValues& operator=(const SavedRegistryValues&) = delete;

    bool SetText(const std::wstring& name, const std::wstring& value) const;
    bool SetDword(const std::wstring& name, DWORD value) const;
    // Any type with any data, as a damaged or hand-edited registry may hold it.
    bool SetRaw(const std::wstring& name, DWORD type, const std::vector<BYTE>& data) const;
    void Remove(const std::wstring& name) const;
    // Removes every remembered value.
    void RemoveAll() const;

private:
    struct Saved {
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    HKEY m_root;
    std::wstring m_subKey;
    std::vector<std::wstring> m_names;
    std::map<std::wstring, std::optional<Saved>> m_saved;
    // Keys this object's writes may create, deepest first, up to the first that existed.
    std::vector<std::wstring> m_newKeys;
};

// A value as a damaged or hand-edited registry may hold it.
struct RawRegistryValue {
    DWORD type;
    std::vector<BYTE> data;
};
// A number 1 stored as text, as a DWORD of 0, 2 or 8 bytes, or as a QWORD.
std::vector<RawRegistryValue> DamagedNumbers();
// A text stored as a DWORD, as expandable, multiple or binary data, or too long
// for any reader (5,000 characters).
std::vector<RawRegistryValue> DamagedTexts();
