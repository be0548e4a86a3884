#pragma once
// Small helpers shared by the tests.
#include <windows.h>

#include <functional>
#include <string>

namespace testsupport {
// The folder of the running test executable (the build's output folder), with
// a trailing backslash.
std::wstring BinFolder();

// A fresh folder under the temporary folder, removed with its files on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    [[nodiscard]] const std::wstring& Path() const noexcept { return m_path; }  // trailing backslash
    // Copies a file of the output folder into this folder.
    bool CopyFromBin(const wchar_t* name) const;

private:
    std::wstring m_path;
};

// Dispatches this thread's messages until `done` answers true or `timeoutMs`
// passes; returns `done()`. WM_QUIT is taken off the queue and remembered.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches what is queued now, dropping any WM_QUIT.
void PumpPending();

// Starts a program and waits for it while dispatching this thread's messages.
// Returns the exit code, or -1 when it could not start or did not end in time.
long RunProcessPumping(const std::wstring& commandLine, DWORD timeoutMs);
}  // namespace testsupport
