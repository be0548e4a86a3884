#include "ZvnSkinLoadDirFile.h"

#include <cwchar>

namespace {
const wchar_t kIniFile[] = L"ZvnUI.ini";
const wchar_t kStringSection[] = L"UILibString";
const UINT kLoadFileDib = LR_LOADFROMFILE | LR_CREATEDIBSECTION | LR_DEFAULTSIZE;  // 0x2050
const UINT kLoadFilePlain = LR_LOADFROMFILE;                                       // 0x10
}  // namespace

BOOL CZvnSkinLoadDirFile::Open(const wchar_t* path) {
    if (!path) return FALSE;
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
    if (std::wcslen(path) >= MAX_PATH) return FALSE;
    std::wcscpy(m_folder, path);
    return TRUE;
}

bool CZvnSkinLoadDirFile::MakePath(const wchar_t* name, wchar_t (&path)[MAX_PATH]) const noexcept {
    if (m_folder[0] == L'\0' || !name) return false;
    const int written = std::swprintf(path, MAX_PATH, L"%ls\\%ls", m_folder, name);
    return written > 0 && written < MAX_PATH;
}

HBITMAP CZvnSkinLoadDirFile::LoadBitmap(const wchar_t* name, BOOL dib) {
    wchar_t path[MAX_PATH];
    if (!MakePath(name, path)) return nullptr;
    return static_cast<HBITMAP>(::LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, dib ? kLoadFileDib : kLoadFilePlain));
}

HICON CZvnSkinLoadDirFile::LoadIcon(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    if (!MakePath(name, path)) return nullptr;
    return static_cast<HICON>(::LoadImageW(nullptr, path, IMAGE_ICON, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

int CZvnSkinLoadDirFile::LoadString(const wchar_t* key, wchar_t* buffer, int length) {
    if (!key || !buffer || length < 1 || m_folder[0] == L'\0') return 0;
    wchar_t ini[MAX_PATH];
    if (!MakePath(kIniFile, ini)) return 0;
    ::GetPrivateProfileStringW(kStringSection, key, L"", buffer, static_cast<DWORD>(length), ini);
    return 1;
}
