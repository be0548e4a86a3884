#pragma once
// The toolkit's lock: a critical section and the scoped holder that takes it,
// so every path out of a guarded block gives it back.
#include <windows.h>

class CZvnUICriticalSection {
public:
    CZvnUICriticalSection() noexcept { ::InitializeCriticalSection(&m_section); }
    ~CZvnUICriticalSection() { ::DeleteCriticalSection(&m_section); }
    CZvnUICriticalSection(const CZvnUICriticalSection&) = delete;
    CZvnUICriticalSection& operator=(const CZvnUICriticalSection&) = delete;

    void Lock() noexcept { ::EnterCriticalSection(&m_section); }
    void Unlock() noexcept { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

class CZvnUIAutoLock {
public:
    explicit CZvnUIAutoLock(CZvnUICriticalSection& section) noexcept : m_section(section) { m_section.Lock(); }
    ~CZvnUIAutoLock() { m_section.Unlock(); }
    CZvnUIAutoLock(const CZvnUIAutoLock&) = delete;
    CZvnUIAutoLock& operator=(const CZvnUIAutoLock&) = delete;

private:
    CZvnUICriticalSection& m_section;
};
