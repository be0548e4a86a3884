#pragma once
// The component classes this library serves, searched and registered in order.
#include <windows.h>

#include <vector>

#include "ComRegistration.h"
#include "Unknown.h"

using CreateFunction = HRESULT (*)(IUnknown* outer, CUnknown** object);

struct ClassTableRow {
    const CLSID* classId;
    CreateFunction create;
    const wchar_t* friendlyName;
    const wchar_t* progId;
    const wchar_t* versionIndependentProgId;

    [[nodiscard]] ComClassRegistration Registration() const noexcept {
        return {classId, friendlyName, progId, versionIndependentProgId};
    }
};

extern const ClassTableRow g_classTable[];
extern const int g_classTableCount;
// What the registry learns of each class, in table order.
std::vector<ComClassRegistration> ClassRegistrations();

inline constexpr CLSID CLSID_DesktopClientModule =
    {0x2DD8BA03, 0xE8BC, 0x421C, {0x46, 0x1F, 0x49, 0x36, 0xE1, 0x9F, 0x01, 0x03}};
inline constexpr CLSID CLSID_VelIPCModule =
    {0xFEF76793, 0xBAE4, 0x4B89, {0x6A, 0x14, 0x2F, 0x6C, 0xB6, 0x87, 0x5A, 0x50}};
