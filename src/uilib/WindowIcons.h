#pragma once
// A window's own big and small icons, loaded from a resource library in the
// system's sizes. The window is told to forget them before they are freed.
#include <windows.h>

#include "UniqueHandle.h"

class CWindowIcons {
public:
    CWindowIcons() = default;
    CWindowIcons(const CWindowIcons&) = delete;
    CWindowIcons& operator=(const CWindowIcons&) = delete;

    // Icon `id` of `library` in the large and small sizes, set on `window`.
    void Set(HWND window, HINSTANCE library, UINT id);
    // Takes them off `window` and frees them.
    void Clear(HWND window) noexcept;

private:
    UniqueHicon m_big;
    UniqueHicon m_small;
};
