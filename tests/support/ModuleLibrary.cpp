#include "support/ModuleLibrary.h"

ModuleLibrary::ModuleLibrary(const std::wstring& path)
    : m_library(::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    if (!m_library) return;
    const HMODULE library = m_library.get();
    GetClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(library, "DllGetClassObject"));
    CanUnloadNow = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library, "DllCanUnloadNow"));
    RegisterServer = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library, "DllRegisterServer"));
    UnregisterServer = reinterpret_cast<NoArgumentFn>(::GetProcAddress(library, "DllUnregisterServer"));
}

namespace {
const wchar_t kStoreKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Service";
}

RegisteredService::RegisteredService(const std::wstring& folder) : ModuleLibrary(folder + L"qkService.dll") {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    if (RegisterServer) registration = RegisterServer();
}

RegisteredService::~RegisteredService() {
    if (UnregisterServer) UnregisterServer();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
}
