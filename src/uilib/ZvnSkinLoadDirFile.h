#pragma once
// A skin folder: bitmap and icon files, and the texts in section "UILibString"
// of "ZvnUI.ini".
#include "ZvnSkinLoad.h"

class CZvnSkinLoadDirFile : public IZvnSkinLoad {
public:
    BOOL Open(const wchar_t* path) override;
    HBITMAP LoadBitmap(const wchar_t* name, BOOL dib) override;
    // Returns 1 once the folder is known, whether or not the key exists.
    int LoadString(const wchar_t* key, wchar_t* buffer, int length) override;
    HICON LoadIcon(const wchar_t* name) override;

    [[nodiscard]] const wchar_t* Folder() const noexcept { return m_folder; }

private:
    // False when the joined path would not fit.
    bool MakePath(const wchar_t* name, wchar_t (&path)[MAX_PATH]) const noexcept;

    wchar_t m_folder[MAX_PATH] = {};
};
