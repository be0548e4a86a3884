#pragma once
// The process-wide holder of this binary's instance handle and of the resource
// library that texts, images and templates are loaded from.
#include <windows.h>
#include <string>

namespace ModuleState {
// The instance handle of the binary this code is linked into (never the host's).
HINSTANCE Instance() noexcept;
// The loaded resource library, or null when none is loaded.
HINSTANCE ResourceInstance() noexcept;
void SetResourceInstance(HINSTANCE resource) noexcept;
// Full path of this binary's folder, with a trailing backslash.
std::wstring Folder();
}  // namespace ModuleState
