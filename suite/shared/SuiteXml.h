#pragma once
// The suite's components write their small documents as text.
#include <string>
#include <string_view>

namespace SuiteXml {
// The text escaped for element content or a double-quoted attribute.
std::wstring Escaped(std::wstring_view text);
}  // namespace SuiteXml
