#pragma once
// Small helpers shared by the tests.
#include <windows.h>
#include <unknwn.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {
// The folder of the running test executable (the build's output folder), with
// a trailing backslash.
std::wstring BinFolder();

// A file's bytes; empty when it cannot be read.
std::string FileText(const std::wstring& path);

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

// The object's reference count, read by adding a reference and releasing it.
ULONG RefCount(IUnknown* object);

// Dispatches this thread's messages until `done` answers true or `timeoutMs`
// passes; returns `done()`. WM_QUIT is taken off the queue and remembered.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches what is queued now, dropping any WM_QUIT.
void PumpPending();

// A window's text, and a text of the module's resource library by number.
std::wstring WindowText(HWND window);
std::wstring ResourceText(UINT id);

// Moves the cursor to `target` and waits until the display reports it there
// (it does so asynchronously); false when the display does not move it.
bool MoveCursorTo(POINT target);

// Starts a program and waits for it while dispatching this thread's messages.
// Returns the exit code, or -1 when it could not start or did not end in time.
long RunProcessPumping(const std::wstring& commandLine, DWORD timeoutMs);

// A file in a fresh temporary folder whose path is handed to programs under
// test in an environment variable for as long as this lives.
class EnvironmentFile {
public:
    explicit EnvironmentFile(const wchar_t* variable);
    ~EnvironmentFile();
    EnvironmentFile(const EnvironmentFile&) = delete;
    EnvironmentFile& operator=(const EnvironmentFile&) = delete;
    [[nodiscard]] const std::wstring& Path() const noexcept { return m_path; }
    // The UTF-8 text split at CR LF; a line without its CR LF is not split off.
    [[nodiscard]] std::vector<std::wstring> Lines() const;
    void Remove() const { ::DeleteFileW(m_path.c_str()); }

private:
    TempFolder m_folder;
    std::wstring m_variable;
    std::wstring m_path;
};
}  // namespace testsupport
