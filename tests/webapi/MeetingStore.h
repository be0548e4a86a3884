#pragma once
// Test fixtures around the web-API component: meeting store files, the
// registry values that steer a synchronisation, and reading answers back.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>
#include <vector>

#include "support/TestSupport.h"

namespace webapitest {
// Local calendar helpers.
DATE Today();                         // 00:00 of the current local day
DATE At(DATE day, int hour, int minute, int second = 0);
DATE LocalNow();

// One meeting of a store: fields as (path under the meeting, text); a path
// with "/" becomes nested elements.
class StoreMeeting {
public:
    StoreMeeting() = default;
    StoreMeeting(const std::wstring& topic, DATE start, DATE end);
    // Sets a field, replacing an earlier one of the same path.
    StoreMeeting& Set(const std::wstring& path, const std::wstring& value);
    StoreMeeting& Set(const std::wstring& path, DATE value);
    // Adds one more field of a path that repeats (invitees, files).
    StoreMeeting& Add(const std::wstring& path, const std::wstring& value);
    [[nodiscard]] std::wstring Markup() const;

private:
    std::vector<std::pair<std::wstring, std::wstring>> m_fields;
};

// `count` meetings of 30 minutes, hourly from `firstHour` on `day`, with keys
// k0, k1, ... and entry ids e0, e1, ...
std::vector<StoreMeeting> HourlyMeetings(DATE day, int count, int firstHour = 8, const wchar_t* status = L"upcoming");

// Points the web-API component at a store file of its own for as long as it
// lives, and removes every steering value afterwards.
class MeetingStore {
public:
    MeetingStore();
    ~MeetingStore();
    MeetingStore(const MeetingStore&) = delete;
    MeetingStore& operator=(const MeetingStore&) = delete;

    void Write(const std::vector<StoreMeeting>& meetings) const;
    void WriteText(const std::string& utf8) const;
    [[nodiscard]] const std::wstring& Path() const noexcept { return m_path; }

    // How the next synchronisation behaves.
    static void SetSyncStatus(DWORD status);
    static void SetSyncMilliseconds(DWORD milliseconds);
    // Drops the store value so that the component serves its demo day.
    static void UseDemo();

private:
    testsupport::TempFolder m_folder;
    std::wstring m_path;
};

// Texts of all nodes matching `xpath` in `xml` (empty when it does not parse).
std::vector<std::wstring> XmlValues(const std::wstring& xml, const wchar_t* xpath);
}  // namespace webapitest
