#pragma once
// Where the account and the running meetings live between runs: values under
// the user's HKCU\SOFTWARE\Zorvan\Quillkit\Service key.
#include <windows.h>

#include <string>

namespace SuiteStateStore {
// A text value under the user's key `key`; false when it is absent or not a text.
bool ReadUserText(const wchar_t* key, const wchar_t* name, std::wstring& text);

// The stored account document, or the built-in demo account when none is stored.
std::wstring LoadAccount();
bool SaveAccount(const std::wstring& accountXml);
bool ResetAccount();

// The stored running meetings, or an empty list.
std::wstring LoadRunningMeetings();
bool SaveRunningMeetings(const std::wstring& meetingsXml);

// True when the text is a well-formed XML document with a root element.
bool IsWellFormed(const wchar_t* xml);

// The account the desktop client runs with out of the box.
const wchar_t* DemoAccount();
}  // namespace SuiteStateStore
