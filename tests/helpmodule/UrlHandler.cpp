#include "helpmodule/UrlHandler.h"

#include <tlhelp32.h>

#include "UniqueHandle.h"

namespace {
// A process that is still starting may not show its name yet, but it shows
// its parent: any child of this process counts as a recorder on its way.
bool RecorderRunning() {
    const UniqueKernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{sizeof(entry)};
    bool running = false;
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more && !running;
         more = ::Process32NextW(snapshot.get(), &entry))
        running = _wcsicmp(entry.szExeFile, UrlHandler::kRecorder) == 0 ||
                  entry.th32ParentProcessID == ::GetCurrentProcessId();
    return running;
}
}  // namespace

UrlHandler::UrlHandler()
    : m_https(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", {L""}),
      m_http(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", {L""}) {
    const std::wstring command = L"\"" + testsupport::BinFolder() + kRecorder + L"\" \"%1\"";
    m_https.SetText(L"", command);
    m_http.SetText(L"", command);
}

UrlHandler::~UrlHandler() { testsupport::PumpUntil([] { return !RecorderRunning(); }, 5000); }

std::vector<std::wstring> UrlHandler::OpenedPages() const {
    testsupport::PumpUntil([] { return !RecorderRunning(); }, 10000);
    return m_record.Lines();
}
