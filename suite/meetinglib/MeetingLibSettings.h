#pragma once
// How the meetings library answers, read from the current user's registry at
// every call so that a test can steer each one.
#include <windows.h>

#include <optional>
#include <string>

namespace MeetingLibSettings {
inline constexpr const wchar_t* kKey = L"SOFTWARE\\Zorvan\\Quillkit\\MeetingLib";
inline constexpr const wchar_t* kResultCodeValue = L"ResultCode";          // DWORD, GetResult's code
inline constexpr const wchar_t* kResultXmlValue = L"ResultXml";            // REG_SZ, GetResult's XML
inline constexpr const wchar_t* kInstantMeetingKeyValue = L"InstantMeetingKey";  // REG_SZ, key of a new meeting
inline constexpr const wchar_t* kLibraryCurrentValue = L"LibraryCurrentResult";  // DWORD, HRESULT of slot 23
inline constexpr const wchar_t* kActionResultValue = L"ActionResult";      // DWORD, HRESULT of every other call
inline constexpr const wchar_t* kReportRunningValue = L"ReportRunning";    // DWORD, 1: started meetings run

// Started or joined.
inline constexpr LONG kDefaultResultCode = 2;
// The call log: the file QK_MEETINGLIB_LOG names, else this one in the
// per-user log folder.
inline constexpr const wchar_t* kLogEnvironment = L"QK_MEETINGLIB_LOG";
inline constexpr const wchar_t* kLogFileName = L"meetinglib.log";

LONG ResultCode();
// The configured XML, or nothing when the value is absent (an empty value is an empty XML).
std::optional<std::wstring> ResultXml();
// The configured key, or a fresh one from this process's sequence.
std::wstring InstantMeetingKey();
// The library's fault switch (shared/SuiteFault.h) makes every call answer E_FAIL.
bool FailsEveryCall();
HRESULT LibraryCurrentResult();
HRESULT ActionResult();
// Whether a meeting that GetResult reports started or joined is handed to the
// meeting component as running in this session, as the meeting program does
// once it runs (off unless the value is 1).
bool ReportRunning();

}  // namespace MeetingLibSettings
