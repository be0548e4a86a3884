#pragma once
// Creates a module object by ProgID or class id through the registry, or
// directly from a DLL file through its class-object entry point.
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "VelUIModule.h"
#include "UniqueHandle.h"

struct LoadedModule {
    // Declared first so that it is freed after the object is released.
    UniqueHmodule library;
    Microsoft::WRL::ComPtr<IVelUIModule> module;
};

// `module` is a ProgID or a braced class id; with `dllPath` the class id is
// taken from `module` (a ProgID is looked up in the registry first).
HRESULT LoadUIModule(const std::wstring& module, const std::wstring& dllPath, LoadedModule& loaded);
