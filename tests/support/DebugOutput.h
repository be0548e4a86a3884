#pragma once
// Captures what this thread writes with OutputDebugStringW/A while the object
// lives, by catching the debug-print exceptions those calls raise before any
// debugger would see them.
#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Every text written since construction or the last Take, in order.
    std::vector<std::wstring> Take();

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info);

    void* m_handler = nullptr;
    DWORD m_thread = 0;
    std::vector<std::wstring> m_texts;
};
}  // namespace testsupport
