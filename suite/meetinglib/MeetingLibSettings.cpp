#include "meetinglib/MeetingLibSettings.h"

#include <atomic>

#include "Registry.h"
#include "StringEx.h"
#include "UniqueHandle.h"
#include "shared/SuiteFault.h"

namespace MeetingLibSettings {
namespace {
std::optional<DWORD> ReadDword(const wchar_t* name) {
    DWORD value = 0;
    if (!CRegistry::ReadDword(HKEY_CURRENT_USER, kKey, name, &value)) return std::nullopt;
    return value;
}

std::optional<std::wstring> ReadText(const wchar_t* name) {
    // CRegistry cannot tell an empty value from a missing one; the XML needs to.
    UniqueHkey owner;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, owner.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    const HKEY key = owner.get();
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
    return text;
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

bool FailsEveryCall() { return SuiteFault::ForLibrary() == SuiteFault::kFailEveryCall; }

HRESULT LibraryCurrentResult() {
    if (FailsEveryCall()) return E_FAIL;
    return static_cast<HRESULT>(ReadDword(kLibraryCurrentValue).value_or(S_OK));
}

HRESULT ActionResult() {
    if (FailsEveryCall()) return E_FAIL;
    return static_cast<HRESULT>(ReadDword(kActionResultValue).value_or(S_OK));
}

bool ReportRunning() { return ReadDword(kReportRunningValue).value_or(0) == 1; }

}  // namespace MeetingLibSettings
