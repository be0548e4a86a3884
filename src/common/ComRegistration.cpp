#include "ComRegistration.h"

#include <cwchar>

#include "ModuleState.h"
#include "UniqueHandle.h"

namespace Registrar {
namespace {
// Creates (or opens) HKCR\keyPath and sets one REG_SZ value, null included.
// Registry status codes, ERROR_SUCCESS when both steps worked.
LONG SetStringValue(const std::wstring& keyPath, const wchar_t* valueName, const std::wstring& value) {
    UniqueHkey key;
    const LONG created = ::RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_ALL_ACCESS, nullptr, key.receive(), nullptr);
    if (created != ERROR_SUCCESS) return created;
    return ::RegSetValueExW(key.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
}  // namespace

std::wstring ClassIdToString(const CLSID& id) {
    wchar_t text[40] = {};
    std::swprintf(text, std::size(text), L"{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                  id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

HRESULT RegisterClass(const ComClassRegistration& row, const std::wstring& modulePath) {
    if (modulePath.empty()) return E_FAIL;
    LONG firstFailure = ERROR_SUCCESS;
    const auto set = [&firstFailure](const std::wstring& keyPath, const wchar_t* valueName, const std::wstring& value) {
        const LONG status = SetStringValue(keyPath, valueName, value);
        if (firstFailure == ERROR_SUCCESS) firstFailure = status;
    };
    const std::wstring id = ClassIdToString(*row.classId);
    const std::wstring classKey = L"CLSID\\" + id;
    set(classKey, nullptr, row.friendlyName);
    set(classKey + L"\\InprocServer32", nullptr, modulePath);
    set(classKey + L"\\InProcServer32", L"ThreadingModel", L"Apartment");
    if (row.progId) set(classKey + L"\\ProgID", nullptr, row.progId);
    if (row.versionIndependentProgId)
        set(classKey + L"\\VersionIndependentProgID", nullptr, row.versionIndependentProgId);

    if (row.progId && row.versionIndependentProgId) {
        const std::wstring independent = row.versionIndependentProgId;
        set(independent, nullptr, row.friendlyName);
        set(independent + L"\\CLSID", nullptr, id);
        set(independent + L"\\CurVer", nullptr, row.progId);

        const std::wstring progId = row.progId;
        set(progId, nullptr, row.friendlyName);
        set(progId + L"\\CLSID", nullptr, id);
    }
    return HRESULT_FROM_WIN32(static_cast<DWORD>(firstFailure));
}

LONG DeleteKeyTree(HKEY parent, const std::wstring& subKey) {
    UniqueHkey key;
    if (::RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_ALL_ACCESS, key.receive()) != ERROR_SUCCESS)
        return ERROR_SUCCESS;
    for (;;) {
        wchar_t child[256];
        DWORD childLength = static_cast<DWORD>(std::size(child));
        if (::RegEnumKeyExW(key.get(), 0, child, &childLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const LONG status = DeleteKeyTree(key.get(), child);
        if (status != ERROR_SUCCESS) return status;
        // A child that could not be opened stays; stop rather than loop on it.
        UniqueHkey stillThere;
        if (::RegOpenKeyExW(key.get(), child, 0, KEY_READ, stillThere.receive()) == ERROR_SUCCESS)
            return ERROR_ACCESS_DENIED;
    }
    key.reset();
    return ::RegDeleteKeyW(parent, subKey.c_str());
}

void UnregisterClass(const ComClassRegistration& row) {
    DeleteKeyTree(HKEY_CLASSES_ROOT, L"CLSID\\" + ClassIdToString(*row.classId));
    if (row.versionIndependentProgId) DeleteKeyTree(HKEY_CLASSES_ROOT, row.versionIndependentProgId);
    if (row.progId) DeleteKeyTree(HKEY_CLASSES_ROOT, row.progId);
}

HRESULT RegisterClasses(std::span<const ComClassRegistration> classes) noexcept {
    try {
        // Every row is written as far as it can be; the first failure is reported.
        const std::wstring path = ThisModulePath();
        HRESULT result = S_OK;
        for (const ComClassRegistration& row : classes) {
            const HRESULT hr = RegisterClass(row, path);
            if (SUCCEEDED(result)) result = hr;
        }
        return result;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT UnregisterClasses(std::span<const ComClassRegistration> classes) noexcept {
    try {
        for (const ComClassRegistration& row : classes) UnregisterClass(row);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

std::wstring ThisModulePath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(ModuleState::Instance(), path, MAX_PATH);
    return std::wstring(path, length);
}
}  // namespace Registrar
