#pragma once
// Where a skin's bitmaps, texts and icons come from: a folder of files or a
// resource library. Names are file names for a folder and resource numbers
// (MAKEINTRESOURCE) for a library.
#include <windows.h>

class IZvnSkinLoad {
public:
    virtual ~IZvnSkinLoad() = default;
    virtual BOOL Open(const wchar_t* path) = 0;
    // With `dib`, a DIB section at the picture's own size. The caller owns the result.
    virtual HBITMAP LoadBitmap(const wchar_t* name, BOOL dib) = 0;
    virtual int LoadString(const wchar_t* nameOrId, wchar_t* buffer, int length) = 0;
    // The caller owns the result.
    virtual HICON LoadIcon(const wchar_t* name) = 0;
};
