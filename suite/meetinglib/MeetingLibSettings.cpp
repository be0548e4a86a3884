#include "meetinglib/MeetingLibSettings.h"

#include <shlobj.h>

#include <atomic>

#include "common/Registry.h"
#include "common/StringEx.h"

namespace MeetingLibSettings {
namespace {
std::optional<DWORD> ReadDword(const wchar_t* name) {
    DWORD value = 0;
    if (!CRegistry::ReadDword(HKEY_CURRENT_USER, kKey, name, &value)) return std::nullopt;
    return value;
}

std::optional<std::wstring> ReadText(const wchar_t* name) {
    // CRegistry cannot tell an empty value from a missing one; the XML needs to.
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    LONG status = ::RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes);
    std::optional<std::wstring> text;
    if (status == ERROR_SUCCESS && type == REG_SZ) {
        std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = ::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (status == ERROR_SUCCESS) text = std::wstring(buffer.c_str());
    }
    ::RegCloseKey(key);
    return text;
}

std::wstring DefaultLogPath() {
    wchar_t base[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base))) return {};
    std::wstring folder = base;
    for (const wchar_t* part : {L"\\Zorvan", L"\\Quillkit", L"\\Logs"}) {
        folder += part;
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder + L"\\meetinglib.log";
}
}  // namespace

LONG ResultCode() { return static_cast<LONG>(ReadDword(kResultCodeValue).value_or(kDefaultResultCode)); }

std::optional<std::wstring> ResultXml() { return ReadText(kResultXmlValue); }

std::wstring InstantMeetingKey() {
    if (auto configured = ReadText(kInstantMeetingKeyValue); configured && !configured->empty()) return *configured;
    // Nine digits, different for every meeting this process starts.
    static std::atomic<unsigned> sequence{0};
    const unsigned long long seed = ::GetTickCount64() / 1000 + ::GetCurrentProcessId() * 7919ull + sequence++;
    return std::to_wstring(100000000ull + seed % 900000000ull);
}

HRESULT LibraryCurrentResult() { return static_cast<HRESULT>(ReadDword(kLibraryCurrentValue).value_or(S_OK)); }

HRESULT ActionResult() { return static_cast<HRESULT>(ReadDword(kActionResultValue).value_or(S_OK)); }

std::wstring LogPath() {
    wchar_t buffer[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(kLogEnvironment, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length > 0 && length < std::size(buffer)) return std::wstring(buffer, length);
    return DefaultLogPath();
}
}  // namespace MeetingLibSettings
