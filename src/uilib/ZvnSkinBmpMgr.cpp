#include "ZvnSkinBmpMgr.h"

HBITMAP CZvnSkinBmpMgr::Find(UINT id) const noexcept {
    const auto found = m_bitmaps.find(id);
    return found == m_bitmaps.end() ? nullptr : found->second.get();
}

void CZvnSkinBmpMgr::Store(UINT id, HBITMAP bitmap) noexcept {
    try {
        m_bitmaps[id].reset(bitmap);
    } catch (...) {
        // No room to remember it: nobody else will own it either.
        ::DeleteObject(bitmap);
    }
}
