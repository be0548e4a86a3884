#pragma once
// A skin resource library: bitmaps, icons and strings by resource number.
#include "UniqueHandle.h"
#include "ZvnSkinLoad.h"

class CZvnSkinLoadResDll : public IZvnSkinLoad {
public:
    BOOL Open(const wchar_t* path) override;
    HBITMAP LoadBitmap(const wchar_t* name, BOOL dib) override;
    // Returns the number of characters copied.
    int LoadString(const wchar_t* id, wchar_t* buffer, int length) override;
    HICON LoadIcon(const wchar_t* name) override;

    [[nodiscard]] HMODULE Module() const noexcept { return m_library.get(); }

private:
    UniqueHmodule m_library;
};
