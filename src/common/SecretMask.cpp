#include "SecretMask.h"

#include <windows.h>

#include <cwctype>

#include "Trace.h"

namespace SecretMask {
namespace {
constexpr std::wstring_view kSecretWord = L"password";

bool IsSecretName(std::wstring_view name) {
    const size_t colon = name.find(L':');
    if (colon != std::wstring_view::npos) name.remove_prefix(colon + 1);
    std::wstring lower(name);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower.find(kSecretWord) != std::wstring::npos;
}
}  // namespace

std::wstring MaskPasswords(std::wstring_view xml) {
    std::wstring masked;
    masked.reserve(xml.size());
    size_t pos = 0;
    while (pos < xml.size()) {
        const size_t open = xml.find(L'<', pos);
        const size_t close = open == std::wstring_view::npos ? open : xml.find(L'>', open);
        if (close == std::wstring_view::npos) break;
        masked.append(xml.substr(pos, close + 1 - pos));
        pos = close + 1;
        const std::wstring_view tag = xml.substr(open + 1, close - open - 1);
        // End tags, declarations, comments and empty elements have no content.
        if (tag.empty() || tag.front() == L'/' || tag.front() == L'?' || tag.front() == L'!' || tag.back() == L'/')
            continue;
        const std::wstring_view name = tag.substr(0, tag.find_first_of(L" \t\r\n"));
        if (!IsSecretName(name)) continue;
        // Everything up to the element's end, a CDATA section included; an
        // element that never ends hides the rest of the text.
        size_t end = xml.find(L"</" + std::wstring(name), pos);
        if (end == std::wstring_view::npos) end = xml.size();
        if (end > pos) masked += kMask;
        pos = end;
    }
    if (pos < xml.size()) masked.append(xml.substr(pos));
    return masked;
}

void TraceDocument(int level, const char* label, const char* name, const wchar_t* xml) {
    const CVarAdapter value(xml ? MaskPasswords(xml) : std::wstring());
    const TraceArg arg{name, &value};
    const TraceArg* const args[] = {&arg, nullptr};
    Trace::WriteTraceLine(level, label, args);
}

void DebugOutputDocument(const wchar_t* xml) {
    if (xml) ::OutputDebugStringW(MaskPasswords(xml).c_str());
}
}  // namespace SecretMask
