#include "support/TestSupport.h"

#include <shellapi.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "ModuleState.h"
#include "StringEx.h"
#include "UniqueHandle.h"

namespace testsupport {
std::string FileText(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::wstring BinFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder;
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    for (unsigned attempt = 0;; ++attempt) {
        m_path = std::wstring(base) + L"qktest-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(attempt) + L"\\";
        if (::CreateDirectoryW(m_path.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    std::wstring from = m_path;
    from.pop_back();
    from.push_back(L'\0');  // double null terminated
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    ::SHFileOperationW(&op);
}

bool TempFolder::CopyFromBin(const wchar_t* name) const {
    return ::CopyFileW((BinFolder() + name).c_str(), (m_path + name).c_str(), FALSE) != FALSE;
}

ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)),
                                    QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring ResourceText(UINT id) {
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), id);
    return text.str();
}

bool MoveCursorTo(POINT target) {
    // Until the display has reported the move, pending input can put the
    // cursor back where it was: the position must hold for a few rounds.
    int settled = 0;
    for (int attempt = 0; attempt < 50 && settled < 3; ++attempt) {
        POINT at{};
        if (::GetCursorPos(&at) && at.x == target.x && at.y == target.y) {
            ++settled;
        } else {
            settled = 0;
            ::SetCursorPos(target.x, target.y);
        }
        ::Sleep(10);
        PumpPending();
    }
    return settled >= 3;
}

long RunProcessPumping(const std::wstring& commandLine, DWORD timeoutMs) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= deadline) {
            ::TerminateProcess(process.get(), 1);
            return -1;
        }
        HANDLE handles[] = {process.get()};
        const DWORD wait = ::MsgWaitForMultipleObjects(1, handles, FALSE, static_cast<DWORD>(deadline - now),
                                                       QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) break;
        PumpPending();
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    return static_cast<long>(code);
}

EnvironmentFile::EnvironmentFile(const wchar_t* variable)
    : m_variable(variable), m_path(m_folder.Path() + L"file.txt") {
    ::SetEnvironmentVariableW(m_variable.c_str(), m_path.c_str());
}

EnvironmentFile::~EnvironmentFile() { ::SetEnvironmentVariableW(m_variable.c_str(), nullptr); }

std::vector<std::wstring> EnvironmentFile::Lines() const {
    const UniqueFileHandle file(::CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size)) return {};
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                          text.data(), static_cast<int>(text.size()))));
    std::vector<std::wstring> lines;
    size_t begin = 0;
    for (size_t end; (end = text.find(L"\r\n", begin)) != std::wstring::npos; begin = end + 2)
        lines.push_back(text.substr(begin, end - begin));
    if (begin < text.size()) lines.push_back(text.substr(begin));
    return lines;
}
}  // namespace testsupport
