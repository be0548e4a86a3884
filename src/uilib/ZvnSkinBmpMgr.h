#pragma once
// One thread's loaded skin bitmaps. A bitmap selected into one thread's device
// contexts must never be selected by another thread, so each thread loads its own.
#include <windows.h>

#include <map>

#include "UniqueHandle.h"

class CZvnSkinBmpMgr {
public:
    explicit CZvnSkinBmpMgr(DWORD threadId) noexcept : m_threadId(threadId) {}

    [[nodiscard]] DWORD ThreadId() const noexcept { return m_threadId; }
    // Null when nothing is cached under `id`.
    [[nodiscard]] HBITMAP Find(UINT id) const noexcept;
    // Takes ownership; a bitmap cached before under `id` is deleted.
    void Store(UINT id, HBITMAP bitmap) noexcept;

private:
    DWORD m_threadId;
    std::map<UINT, UniqueHbitmap> m_bitmaps;
};
