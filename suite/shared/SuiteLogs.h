#pragma once
// Where the suite's components keep their log files: a file named by an
// environment variable (tests and people point it anywhere), else
// %LOCALAPPDATA%\Zorvan\Quillkit\Logs\<file name>.
#include <string>

namespace SuiteLogs {
// The variable's value, or empty when it is not set.
std::wstring FromEnvironment(const wchar_t* variable);
// The file in the per-user log folder, which is created when missing; empty
// when the folder cannot be found.
std::wstring DefaultFile(const wchar_t* fileName);
// FromEnvironment, else DefaultFile.
std::wstring File(const wchar_t* variable, const wchar_t* fileName);
}  // namespace SuiteLogs
