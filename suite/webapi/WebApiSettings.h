#pragma once
// How a synchronisation behaves, read from the current user's registry at the
// start of every synchronisation so that a test can steer each one.
#include <windows.h>

#include <string>

namespace WebApiSettings {
inline constexpr const wchar_t* kKey = L"SOFTWARE\\Zorvan\\Quillkit\\WebApi";
inline constexpr const wchar_t* kMeetingStoreValue = L"MeetingStore";   // REG_SZ, path of the store file
inline constexpr const wchar_t* kSyncStatusValue = L"SyncStatus";       // DWORD, status a synchronisation ends with
inline constexpr const wchar_t* kSyncMillisecondsValue = L"SyncMilliseconds";  // DWORD, how long it runs

inline constexpr LONG kDefaultSyncStatus = 2;
inline constexpr DWORD kDefaultSyncMilliseconds = 800;

struct Settings {
    std::wstring meetingStore;  // empty: the built-in demo day
    LONG finalStatus = kDefaultSyncStatus;
    DWORD runMilliseconds = kDefaultSyncMilliseconds;
};

Settings Read();
}  // namespace WebApiSettings
