#pragma once
// Where the suite's components keep their log files: a file named by an
// environment variable (tests and people point it anywhere), else
// %LOCALAPPDATA%\Zorvan\Quillkit\Logs\<file name>.
#include <string>

#include "UniqueHandle.h"

namespace SuiteLogs {
// The variable's value, or empty when it is not set.
std::wstring FromEnvironment(const wchar_t* variable);
// The file in the per-user log folder, which is created when missing; empty
// when the folder cannot be found.
std::wstring DefaultFile(const wchar_t* fileName);
// FromEnvironment, else DefaultFile.
std::wstring File(const wchar_t* variable, const wchar_t* fileName);

// Opens the file for appending: every write lands at its end, whichever
// process wrote last. Invalid when it cannot be opened.
UniqueFileHandle OpenForAppend(const std::wstring& path);
// The same for the file in the per-user log folder. The folder is looked up
// and made once per process (each of those calls costs more than the write),
// and again when the file cannot be opened because someone removed it.
UniqueFileHandle OpenDefaultForAppend(const wchar_t* fileName);
}  // namespace SuiteLogs
