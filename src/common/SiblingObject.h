#pragma once
// Objects of the suite's sibling libraries are made through the library's own
// class-object entry point, never through the registry, so that the copy
// beside the module is the one used.
#include <windows.h>
#include <unknwn.h>

// `library` must already be loaded (from the module's folder). Null library:
// E_FAIL; no "DllGetClassObject" export: E_NOTIMPL; otherwise the result of
// getting the class object and creating an instance without an outer object.
HRESULT CreateSiblingObject(HMODULE library, REFCLSID classId, REFIID iid, void** object);
