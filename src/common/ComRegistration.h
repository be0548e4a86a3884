#pragma once
// Registration of in-process COM classes under HKEY_CLASSES_ROOT, shared by
// the module and the suite's component libraries.
#include <windows.h>

#include <span>
#include <string>

struct ComClassRegistration {
    const CLSID* classId;
    const wchar_t* friendlyName;
    const wchar_t* progId;                    // may be null
    const wchar_t* versionIndependentProgId;  // may be null
};

namespace Registrar {
// Braced, upper-case form: {2DD8BA03-E8BC-421C-461F-4936E19F0103}.
std::wstring ClassIdToString(const CLSID& classId);

// Writes the class keys (threading model "Apartment") and both ProgID keys. A
// key that cannot be created is skipped; the other keys are still written, and
// the first failure is the result (S_OK when every key was written).
[[nodiscard]] HRESULT RegisterClass(const ComClassRegistration& entry, const std::wstring& modulePath);
// Deletes CLSID\{id}, then both ProgID keys, each with its whole subtree.
void UnregisterClass(const ComClassRegistration& entry);
// DllRegisterServer's and DllUnregisterServer's work: every class of a
// library, against this binary's path. E_UNEXPECTED when one of them threw.
HRESULT RegisterClasses(std::span<const ComClassRegistration> classes) noexcept;
HRESULT UnregisterClasses(std::span<const ComClassRegistration> classes) noexcept;
// Deletes a key and everything below it; a key that cannot be opened is left alone.
LONG DeleteKeyTree(HKEY parent, const std::wstring& subKey);
// The full path of the binary that contains this code.
std::wstring ThisModulePath();
}  // namespace Registrar
