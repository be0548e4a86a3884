#pragma once
// Self-registration of the class table's rows under HKEY_CLASSES_ROOT.
#include <windows.h>

#include <string>

#include "module/ClassTable.h"

namespace Registrar {
// Braced, upper-case form: {2DD8BA03-E8BC-421C-461F-4936E19F0103}.
std::wstring ClassIdToString(const CLSID& classId);

// A key that cannot be created is skipped; the other keys are still written.
void RegisterRow(const ClassTableRow& row, const std::wstring& modulePath);
// Deletes CLSID\{id}, then both ProgID keys, each with its whole subtree.
void UnregisterRow(const ClassTableRow& row);
// Deletes a key and everything below it; a key that cannot be opened is left alone.
LONG DeleteKeyTree(HKEY parent, const std::wstring& subKey);
}  // namespace Registrar
