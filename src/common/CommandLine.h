#pragma once
// A command line as the module keeps one: the arguments after the program's
// name, split the platform's way and joined again without separators, so that
// "qkhost.exe /OpenSetting" becomes "/OpenSetting".
#include <optional>
#include <string>

// Nothing when the platform cannot split the line.
std::optional<std::wstring> ArgumentsAfterProgram(const wchar_t* commandLine);
