#pragma once
// The meetings a benchmark works on: a meeting store file for the suite's
// web-API component, and the registry values that point the component at it
// for as long as the benchmark runs.
#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <vector>

namespace bench {
// `perDay` meetings of 30 minutes spread evenly over each of `days` days
// from `firstDay` (midnight), with keys k0, k1, ... in start order, as a
// store document in UTF-8.
std::string StoreDocument(DATE firstDay, int days, int perDay);

// Sets registry values under HKEY_CURRENT_USER and puts back what was there
// (or removes them) when it goes.
class RegistryOverride {
public:
    RegistryOverride() = default;
    ~RegistryOverride();
    RegistryOverride(const RegistryOverride&) = delete;
    RegistryOverride& operator=(const RegistryOverride&) = delete;

    void SetDword(const wchar_t* key, const wchar_t* name, DWORD value);
    void SetText(const wchar_t* key, const wchar_t* name, const std::wstring& value);

private:
    struct Saved {
        std::wstring key;
        std::wstring name;
        DWORD type = REG_NONE;
        std::optional<std::vector<BYTE>> data;  // none: the value did not exist
    };
    void Save(const wchar_t* key, const wchar_t* name);
    std::vector<Saved> m_saved;
};

// Writes `utf8` to a file of that path; FALSE when it cannot.
BOOL WriteFileText(const std::wstring& path, const std::string& utf8);
}  // namespace bench
