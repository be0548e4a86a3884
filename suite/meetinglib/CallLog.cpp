#include "meetinglib/CallLog.h"

#include <cwchar>

#include "UniqueHandle.h"
#include "Utf8.h"
#include "meetinglib/MeetingLibSettings.h"
#include "shared/SuiteLogs.h"

namespace {
std::wstring Escaped(const wchar_t* text, UINT length) {
    std::wstring out;
    out.reserve(length);
    for (UINT i = 0; i < length; ++i) {
        switch (text[i]) {
        case L'\\': out += L"\\\\"; break;
        case L'\t': out += L"\\t"; break;
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        default: out += text[i];
        }
    }
    return out;
}
}  // namespace

CCallLine::CCallLine(const wchar_t* operation) : m_line(operation) {}

CCallLine& CCallLine::Text(const wchar_t* name, BSTR value) {
    Field(name, value ? Escaped(value, ::SysStringLen(value)) : std::wstring(L"(null)"));
    return *this;
}

CCallLine& CCallLine::Number(const wchar_t* name, LONG value) {
    Field(name, std::to_wstring(value));
    return *this;
}

CCallLine& CCallLine::Window(const wchar_t* name, HWND value) {
    wchar_t text[32] = {};
    std::swprintf(text, std::size(text), L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(value)));
    Field(name, text);
    return *this;
}

void CCallLine::Field(const wchar_t* name, const std::wstring& value) {
    m_line += L'\t';
    m_line += name;
    m_line += L'=';
    m_line += value;
}

void CCallLine::Write() const noexcept {
    try {
        const std::string record = ToUtf8(m_line) + "\r\n";
        // Appending handles land every write at the end, so processes that share
        // the log never overwrite each other's lines.
        const std::wstring path = SuiteLogs::FromEnvironment(MeetingLibSettings::kLogEnvironment);
        const UniqueFileHandle file = path.empty() ? SuiteLogs::OpenDefaultForAppend(MeetingLibSettings::kLogFileName)
                                                   : SuiteLogs::OpenForAppend(path);
        if (!file) return;
        DWORD written = 0;
        ::WriteFile(file.get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    } catch (...) {
        // The log is a record for tests; a call never fails because of it.
    }
}
