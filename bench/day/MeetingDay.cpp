#include "MeetingDay.h"

#include <cstdio>

#include "UniqueHandle.h"

namespace bench {
namespace {
std::string DateText(DATE value) {
    char text[48];
    std::snprintf(text, sizeof(text), "%.10f", value);
    return text;
}
}  // namespace

std::string StoreDocument(DATE firstDay, int days, int perDay) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<meetings>\n";
    const double step = perDay > 0 ? 1.0 / perDay : 0.0;
    const double length = 30.0 / (24 * 60);
    int key = 0;
    for (int day = 0; day < days; ++day) {
        for (int i = 0; i < perDay; ++i, ++key) {
            const DATE start = firstDay + day + i * step;
            const std::string n = std::to_string(key);
            text += "  <meeting><meetingTopic>Planning round " + n + "</meetingTopic><startTime>" + DateText(start) +
                    "</startTime><endTime>" + DateText(start + length) + "</endTime><meetingKey>k" + n +
                    "</meetingKey><entryID>e" + n + "</entryID><meetingStatus>upcoming</meetingStatus>" +
                    "<host><displayName>Host " + n + "</displayName></host></meeting>\n";
        }
    }
    return text + "</meetings>\n";
}

RegistryOverride::~RegistryOverride() {
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->data) {
            ::RegSetKeyValueW(HKEY_CURRENT_USER, it->key.c_str(), it->name.c_str(), it->type, it->data->data(),
                              static_cast<DWORD>(it->data->size()));
        } else {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, it->key.c_str(), it->name.c_str());
        }
    }
}

void RegistryOverride::Save(const wchar_t* key, const wchar_t* name) {
    Saved saved{key, name};
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &saved.type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size);
        if (::RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, &saved.type, data.data(), &size) ==
            ERROR_SUCCESS) {
            data.resize(size);
            saved.data = std::move(data);
        }
    }
    m_saved.push_back(std::move(saved));
}

void RegistryOverride::SetDword(const wchar_t* key, const wchar_t* name, DWORD value) {
    Save(key, name);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof(value));
}

void RegistryOverride::SetText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    Save(key, name);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

BOOL WriteFileText(const std::wstring& path, const std::string& utf8) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file.valid()) return FALSE;
    DWORD written = 0;
    return ::WriteFile(file.get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) &&
           written == utf8.size();
}
}  // namespace bench
