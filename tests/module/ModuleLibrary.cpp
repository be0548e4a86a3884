#include "module/ModuleLibrary.h"

ModuleLibrary::ModuleLibrary(const std::wstring& path)
    : m_library(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    if (!m_library) return;
    const HMODULE library = m_library.get();
    GetClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(library, "DllGetClassObject"));
    CanUnloadNow = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library, "DllCanUnloadNow"));
    RegisterServer = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library, "DllRegisterServer"));
    UnregisterServer = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library, "DllUnregisterServer"));
}

Microsoft::WRL::ComPtr<IVelUIModule> ModuleLibrary::Create(const CLSID& classId) const {
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    Microsoft::WRL::ComPtr<IVelUIModule> module;
    if (SUCCEEDED(GetClassObject(classId, IID_PPV_ARGS(&factory))))
        factory->CreateInstance(nullptr, IID_PPV_ARGS(&module));
    return module;
}
