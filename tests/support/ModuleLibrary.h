#pragma once
// A built COM library loaded the way COM loads it: by file, through its exports.
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "VelUIModule.h"
#include "UniqueHandle.h"

inline constexpr CLSID kDesktopClientClass = {0x2DD8BA03, 0xE8BC, 0x421C, {0x46, 0x1F, 0x49, 0x36, 0xE1, 0x9F, 0x01, 0x03}};
inline constexpr CLSID kHelpModuleClass = {0xFEF76793, 0xBAE4, 0x4B89, {0x6A, 0x14, 0x2F, 0x6C, 0xB6, 0x87, 0x5A, 0x50}};
inline constexpr wchar_t kFrameClass[] = L"QK_SJ_MainFrame_3DD8BA03-E8BC-421c-961F-4936E19F010F";

class ModuleLibrary {
public:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using NoArgumentFn = HRESULT(STDAPICALLTYPE*)();

    explicit ModuleLibrary(const std::wstring& path);
    [[nodiscard]] bool Loaded() const noexcept { return m_library.valid() && GetClassObject && CanUnloadNow; }

    // A new object of the class through its class object; null on any failure.
    template <typename T = IVelUIModule>
    Microsoft::WRL::ComPtr<T> Create(const CLSID& classId) const {
        Microsoft::WRL::ComPtr<IClassFactory> factory;
        Microsoft::WRL::ComPtr<T> object;
        if (SUCCEEDED(GetClassObject(classId, IID_PPV_ARGS(&factory))))
            factory->CreateInstance(nullptr, IID_PPV_ARGS(&object));
        return object;
    }

    GetClassObjectFn GetClassObject = nullptr;
    NoArgumentFn CanUnloadNow = nullptr;
    NoArgumentFn RegisterServer = nullptr;
    NoArgumentFn UnregisterServer = nullptr;

private:
    UniqueHmodule m_library;
};

// The suite's settings service from `folder` (with a trailing backslash), its
// per-user store emptied and its classes registered while this lives.
struct RegisteredService : ModuleLibrary {
    explicit RegisteredService(const std::wstring& folder);
    ~RegisteredService();
    HRESULT registration = E_FAIL;
};
