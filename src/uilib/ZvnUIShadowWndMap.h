#pragma once
// The message-map mixin that gives a window a drop shadow: chain it into the
// window's map and the shadow window is created, moved, shown, hidden and
// destroyed with the window. It never reports a message handled, so the
// window's own handlers still run.
#include <windows.h>

#include <memory>

#include "ZvnUIShadowWnd.h"

class CZvnUIShadowWndMap {
public:
    explicit CZvnUIShadowWndMap(CWindowBase& owner);
    virtual ~CZvnUIShadowWndMap();
    CZvnUIShadowWndMap(const CZvnUIShadowWndMap&) = delete;
    CZvnUIShadowWndMap& operator=(const CZvnUIShadowWndMap&) = delete;

    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                      DWORD mapId = 0);

    // How far the shadow reaches beyond each edge of the owner.
    void SetOuterExtents(const RECT& extents) noexcept { m_extents = extents; }
    // Taken back from the extended rectangle on each side.
    void SetInnerInsets(const RECT& insets) noexcept { m_insets = insets; }
    // While off, the shadow is neither created, moved nor painted.
    void SetShadowEnabled(BOOL enabled) noexcept { m_enabled = enabled; }
    void SetShadowImage(CZvnShadowImage image, int mode, const RECT& margins);
    void SetShadowFrame(int frame) noexcept { m_shadow->SetFrame(frame); }
    void SetShadowOwnerDraw(HWND target, UINT message) noexcept { m_shadow->SetOwnerDraw(target, message); }

    [[nodiscard]] HWND ShadowWindow() const noexcept { return m_shadow ? m_shadow->m_hWnd : nullptr; }
    // The shadow's screen rectangle for an owner at `owner`.
    static RECT ShadowRect(const RECT& owner, const RECT& extents, const RECT& insets) noexcept;

protected:
    void CreateShadow();
    void RepositionShadow(bool repaint);
    [[nodiscard]] CZvnUIShadowWnd& Shadow() noexcept { return *m_shadow; }
    [[nodiscard]] HWND OwnerWindow() const noexcept { return m_owner.m_hWnd; }
    [[nodiscard]] const RECT& OuterExtents() const noexcept { return m_extents; }

private:
    // A drag repaints only where several monitors could give the shadow a
    // different background to sit on.
    bool MoveNeedsRepaint() const noexcept;

    std::unique_ptr<CZvnUIShadowWnd> m_shadow;
    CWindowBase& m_owner;
    RECT m_extents{};
    BOOL m_enabled = TRUE;
    RECT m_insets{};
};
