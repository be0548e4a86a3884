#pragma once
// The 17 fonts every window of the module draws with, created on first use.
#include <windows.h>

#include "UniqueHandle.h"

class CFontPool {
public:
    static constexpr int kFontCount = 17;

    // The process-wide pool, created on first use.
    static CFontPool& Instance();
    // Whether the pool has been created (without creating it).
    static bool Exists() noexcept;

    // A cached font; an index of 17 or more gives the font of index 1.
    HFONT GetFont(int index);
    // Deletes every font; later requests create them again.
    void Release() noexcept;

    CFontPool() = default;
    virtual ~CFontPool() = default;
    CFontPool(const CFontPool&) = delete;
    CFontPool& operator=(const CFontPool&) = delete;

private:
    UniqueHfont m_fonts[kFontCount];
};
