#include "DLLHandle.h"

#include <string>

#include "Registry.h"

CDLLHandle::CDLLHandle(const wchar_t* fileName, HMODULE module) { Load(fileName, module, TRUE); }

CDLLHandle::~CDLLHandle() { Free(); }

void CDLLHandle::Load(const wchar_t* fileName, HMODULE module, BOOL force) {
    if (!fileName) return;
    Free();
    m_owned = FALSE;
    if (!force) {
        if (const HMODULE loaded = ::GetModuleHandleW(fileName)) {
            m_module = loaded;
            return;
        }
    }
    // Sibling libraries come only from the module's own folder: without a full
    // folder the bare name would go to the search path, so nothing is loaded.
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    std::wstring fullPath(path, length);
    const size_t slash = fullPath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    fullPath.resize(slash + 1);
    fullPath += fileName;
    m_module = ::LoadLibraryW(fullPath.c_str());
    m_owned = TRUE;
}

void CDLLHandle::Free() noexcept {
    if (m_owned && m_module) {
        ::FreeLibrary(m_module);
        m_module = nullptr;
    }
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    if (!fileName) return nullptr;
    wchar_t folder[MAX_PATH + 1] = {};
#if defined(_WIN64)
    // A 64-bit process can only load from the native system folder.
    const bool found = false;
#else
    const bool found = CRegistry::ZvnGetSystemWow64Directory(folder, MAX_PATH) != FALSE;
#endif
    if (!found && ::GetSystemDirectoryW(folder, MAX_PATH) == 0) return nullptr;
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += fileName;
    return ::LoadLibraryW(path.c_str());
}
