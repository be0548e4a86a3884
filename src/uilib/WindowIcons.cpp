#include "WindowIcons.h"

void CWindowIcons::Set(HWND window, HINSTANCE library, UINT id) {
    if (!library) return;
    const auto load = [library, id](int width, int height) {
        return UniqueHicon(
            static_cast<HICON>(::LoadImageW(library, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0)));
    };
    m_big = load(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
    m_small = load(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_big.get()));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_small.get()));
}

void CWindowIcons::Clear(HWND window) noexcept {
    if (window) {
        ::SendMessageW(window, WM_SETICON, ICON_BIG, 0);
        ::SendMessageW(window, WM_SETICON, ICON_SMALL, 0);
    }
    m_big.reset();
    m_small.reset();
}
