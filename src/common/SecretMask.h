#pragma once
// Documents written to the trace file or the debugger output keep their shape
// but lose their passwords: logs outlive sessions and travel with support
// requests. Everything that writes a request, a response or an account there
// goes through here.
#include <string>
#include <string_view>

namespace SecretMask {
inline constexpr wchar_t kMask[] = L"***";

// `xml` with the content of every element whose name contains "password" (in
// any case, with any prefix) replaced by kMask; all else as it was.
[[nodiscard]] std::wstring MaskPasswords(std::wstring_view xml);

// Traces at `level` the label and one named document, masked.
void TraceDocument(int level, const char* label, const char* name, const wchar_t* xml);
// Writes a document to the debugger output, masked.
void DebugOutputDocument(const wchar_t* xml);
}  // namespace SecretMask
