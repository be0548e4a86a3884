#pragma once
// Fault injection for the robustness tests of the desktop client: a DWORD
// under HKCU\SOFTWARE\Zorvan\Quillkit\Faults named after a suite library's
// file name ("qkWebAPI.dll") or after one class it serves ("{82DBF6EE-...}")
// makes that component fail the way a broken installation would. Read at
// every use, so a test can switch it while the client runs.
#include <windows.h>

namespace SuiteFault {
inline constexpr const wchar_t* kKey = L"SOFTWARE\\Zorvan\\Quillkit\\Faults";

enum Mode : DWORD {
    kNone = 0,
    kRefuseCreation = 1,  // class objects refuse to create objects; creating exports answer null
    kFailEveryCall = 2,   // every operation of the component answers E_FAIL
};

// The mode set for the library this code is linked into.
Mode ForLibrary() noexcept;
// The mode set for `classId`, else the library's.
Mode ForClass(REFCLSID classId) noexcept;
inline bool FailsEveryCall(REFCLSID classId) noexcept { return ForClass(classId) == kFailEveryCall; }
}  // namespace SuiteFault
