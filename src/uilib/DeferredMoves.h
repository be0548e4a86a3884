#pragma once
// Several window moves applied in one go, so that the windows are redrawn
// once in their new places rather than once per move.
#include <windows.h>

#include <utility>

class CDeferredMoves {
public:
    explicit CDeferredMoves(int expected) noexcept : m_batch(::BeginDeferWindowPos(expected)) {}
    ~CDeferredMoves() { Apply(); }
    CDeferredMoves(const CDeferredMoves&) = delete;
    CDeferredMoves& operator=(const CDeferredMoves&) = delete;

    // Z-order and activation never change; `flags` adds SWP_SHOWWINDOW,
    // SWP_HIDEWINDOW, SWP_NOSIZE and the like.
    void Move(HWND window, int x, int y, int width, int height, UINT flags) noexcept {
        flags |= SWP_NOZORDER | SWP_NOACTIVATE;
        if (m_batch) m_batch = ::DeferWindowPos(m_batch, window, nullptr, x, y, width, height, flags);
        // A batch that could not grow has been dropped by the platform; what
        // follows is moved at once.
        if (!m_batch) ::SetWindowPos(window, nullptr, x, y, width, height, flags);
    }
    void Apply() noexcept {
        if (m_batch) ::EndDeferWindowPos(std::exchange(m_batch, nullptr));
    }

private:
    HDWP m_batch;
};
