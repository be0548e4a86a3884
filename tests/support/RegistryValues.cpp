#include "support/RegistryValues.h"

SavedRegistryValues::SavedRegistryValues(HKEY root, std::wstring subKey, std::vector<std::wstring> names)
    : m_root(root), m_subKey(std::move(subKey)), m_names(std::move(names)) {
    for (std::wstring path = m_subKey; !path.empty();) {
        HKEY existing = nullptr;
        if (::RegOpenKeyExW(m_root, path.c_str(), 0, KEY_QUERY_VALUE, &existing) == ERROR_SUCCESS) {
            ::RegCloseKey(existing);
            break;
        }
        m_newKeys.push_back(path);
        const size_t slash = path.find_last_of(L'\\');
        path.resize(slash == std::wstring::npos ? 0 : slash);
    }
    HKEY key = nullptr;
    ::RegOpenKeyExW(m_root, m_subKey.c_str(), 0, KEY_QUERY_VALUE, &key);
    for (const auto& name : m_names) {
        std::optional<Saved> saved;
        DWORD type = 0, size = 0;
        if (key && ::RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            Saved value{type, std::vector<BYTE>(size)};
            if (::RegQueryValueExW(key, name.c_str(), nullptr, &type, value.data.data(), &size) == ERROR_SUCCESS)
                saved = std::move(value);
        }
        m_saved[name] = std::move(saved);
    }
    if (key) ::RegCloseKey(key);
}

SavedRegistryValues::~SavedRegistryValues() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(m_root, m_subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const auto& [name, saved] : m_saved) {
        if (saved)
            ::RegSetValueExW(key, name.c_str(), 0, saved->type, saved->data.data(), static_cast<DWORD>(saved->data.size()));
        else
            ::RegDeleteValueW(key, name.c_str());
    }
    ::RegCloseKey(key);
    // Keys the test's writes created go again, unless something else now lives in them.
    for (const auto& path : m_newKeys) {
        if (::RegDeleteKeyW(m_root, path.c_str()) != ERROR_SUCCESS) break;
    }
}

bool SavedRegistryValues::SetText(const std::wstring& name, const std::wstring& value) const {
    return ::RegSetKeyValueW(m_root, m_subKey.c_str(), name.c_str(), REG_SZ, value.c_str(),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SavedRegistryValues::SetDword(const std::wstring& name, DWORD value) const {
    return ::RegSetKeyValueW(m_root, m_subKey.c_str(), name.c_str(), REG_DWORD, &value, sizeof(value)) ==
           ERROR_SUCCESS;
}

bool SavedRegistryValues::SetRaw(const std::wstring& name, DWORD type, const std::vector<BYTE>& data) const {
    return ::RegSetKeyValueW(m_root, m_subKey.c_str(), name.c_str(), type, data.empty() ? nullptr : data.data(),
                             static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

void SavedRegistryValues::Remove(const std::wstring& name) const {
    ::RegDeleteKeyValueW(m_root, m_subKey.c_str(), name.c_str());
}

void SavedRegistryValues::RemoveAll() const {
    for (const auto& name : m_names) Remove(name);
}

namespace {
std::vector<BYTE> Bytes(const void* data, size_t size) {
    const BYTE* first = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(first, first + size);
}
}  // namespace

std::vector<RawRegistryValue> DamagedNumbers() {
    const ULONGLONG one = 1;
    return {{REG_SZ, Bytes(L"1", 4)},
            {REG_DWORD, Bytes(&one, 2)},
            {REG_DWORD, Bytes(&one, 8)},
            {REG_DWORD, {}},
            {REG_QWORD, Bytes(&one, 8)}};
}

std::vector<RawRegistryValue> DamagedTexts() {
    const DWORD one = 1;
    const std::wstring tooLong(5000, L'a');
    return {{REG_DWORD, Bytes(&one, 4)},
            {REG_EXPAND_SZ, Bytes(L"%TEMP%", 14)},
            {REG_MULTI_SZ, Bytes(L"a.b.c\0\0", 16)},
            {REG_BINARY, Bytes("\xFF\xFE\x01", 3)},
            {REG_SZ, Bytes(tooLong.c_str(), (tooLong.size() + 1) * sizeof(wchar_t))}};
}
