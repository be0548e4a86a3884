#pragma once
// Owner of a loaded library that knows whether it loaded it itself.
#include <windows.h>

class CDLLHandle {
public:
    CDLLHandle() noexcept = default;
    // Loads `fileName` from the folder of `module`, always that copy; nothing
    // when that folder cannot be told.
    CDLLHandle(const wchar_t* fileName, HMODULE module);
    // Adopts a handle; `owned` says whether Free may release it.
    CDLLHandle(HMODULE handle, BOOL owned) noexcept : m_module(handle), m_owned(owned) {}
    virtual ~CDLLHandle();
    CDLLHandle(const CDLLHandle&) = delete;
    CDLLHandle& operator=(const CDLLHandle&) = delete;

    // Without `force`, a library of that name already in the process is used (not owned).
    void Load(const wchar_t* fileName, HMODULE module, BOOL force);
    void Free() noexcept;
    [[nodiscard]] HMODULE Handle() const noexcept { return m_module; }
    [[nodiscard]] BOOL Owned() const noexcept { return m_owned; }

private:
    HMODULE m_module = nullptr;
    BOOL m_owned = FALSE;
};

// Loads a platform library from the system folder (the 32-bit one on a 64-bit
// system when it exists), never from the search path.
HMODULE LoadSystemLibrary(const wchar_t* fileName);
