#include "ZvnSkinLoadResDll.h"

namespace {
const UINT kLoadResourceDib = LR_CREATEDIBSECTION | LR_DEFAULTSIZE;  // 0x2040
}

BOOL CZvnSkinLoadResDll::Open(const wchar_t* path) {
    m_library.reset();
    if (!path) return FALSE;
    // Only its resources are used: no code of a skin library ever runs.
    m_library.reset(::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    return m_library ? TRUE : FALSE;
}

HBITMAP CZvnSkinLoadResDll::LoadBitmap(const wchar_t* name, BOOL dib) {
    if (!m_library || !name) return nullptr;
    return static_cast<HBITMAP>(::LoadImageW(m_library.get(), name, IMAGE_BITMAP, 0, 0, dib ? kLoadResourceDib : 0));
}

int CZvnSkinLoadResDll::LoadString(const wchar_t* id, wchar_t* buffer, int length) {
    if (!m_library || !buffer || length < 1 || !IS_INTRESOURCE(id)) return 0;
    return ::LoadStringW(m_library.get(), static_cast<UINT>(reinterpret_cast<ULONG_PTR>(id)), buffer, length);
}

HICON CZvnSkinLoadResDll::LoadIcon(const wchar_t* name) {
    if (!m_library || !name) return nullptr;
    return static_cast<HICON>(::LoadImageW(m_library.get(), name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
}
