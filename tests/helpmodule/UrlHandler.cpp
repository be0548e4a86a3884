#include "helpmodule/UrlHandler.h"

#include <tlhelp32.h>

#include <filesystem>
#include <fstream>

#include "support/TestSupport.h"

namespace {
std::wstring RecordPath() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"qk-opened-pages-" + std::to_wstring(::GetCurrentProcessId()) + L".txt";
}

// A process that is still starting may not show its name yet, but it shows
// its parent: any child of this process counts as a recorder on its way.
bool RecorderRunning() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{sizeof(entry)};
    bool running = false;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !running; more = ::Process32NextW(snapshot, &entry))
        running = _wcsicmp(entry.szExeFile, UrlHandler::kRecorder) == 0 ||
                  entry.th32ParentProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snapshot);
    return running;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}
}  // namespace

UrlHandler::UrlHandler()
    : m_recordFile(RecordPath()),
      m_https(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", {L""}),
      m_http(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", {L""}) {
    const std::wstring command = L"\"" + testsupport::BinFolder() + kRecorder + L"\" \"%1\"";
    m_https.SetText(L"", command);
    m_http.SetText(L"", command);
    ::SetEnvironmentVariableW(L"QK_URL_RECORD", m_recordFile.c_str());
    Clear();
}

UrlHandler::~UrlHandler() {
    testsupport::PumpUntil([] { return !RecorderRunning(); }, 5000);
    ::DeleteFileW(m_recordFile.c_str());
    ::SetEnvironmentVariableW(L"QK_URL_RECORD", nullptr);
}

void UrlHandler::Clear() const { ::DeleteFileW(m_recordFile.c_str()); }

std::vector<std::wstring> UrlHandler::ReadRecord() const {
    std::ifstream file(std::filesystem::path(m_recordFile), std::ios::binary);
    std::vector<std::wstring> pages;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pages.push_back(FromUtf8(line));
    }
    return pages;
}

std::vector<std::wstring> UrlHandler::OpenedPages() const {
    testsupport::PumpUntil([] { return !RecorderRunning(); }, 10000);
    return ReadRecord();
}

std::vector<std::wstring> UrlHandler::WaitForPages(size_t count, DWORD timeoutMs) const {
    testsupport::PumpUntil([&] { return ReadRecord().size() >= count && !RecorderRunning(); }, timeoutMs);
    return ReadRecord();
}
