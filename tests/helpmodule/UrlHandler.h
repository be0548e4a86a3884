#pragma once
// Points the shell's "open" verb of https and http addresses at the recording
// program built with these tests, and restores the browser afterwards. What
// the recorder saw is read back from its record file.
#include <windows.h>

#include <string>
#include <vector>

#include "support/RegistryValues.h"
#include "support/TestSupport.h"

class UrlHandler {
public:
    UrlHandler();
    ~UrlHandler();
    UrlHandler(const UrlHandler&) = delete;
    UrlHandler& operator=(const UrlHandler&) = delete;

    // Waits until no recorder runs any more, then returns every opened address.
    [[nodiscard]] std::vector<std::wstring> OpenedPages() const;
    void Clear() const { m_record.Remove(); }

    static constexpr const wchar_t* kRecorder = L"qkurlrecorder.exe";

private:
    testsupport::EnvironmentFile m_record{L"QK_URL_RECORD"};
    SavedRegistryValues m_https;
    SavedRegistryValues m_http;
};
