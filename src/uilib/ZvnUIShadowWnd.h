#pragma once
// The click-through, per-pixel-alpha window that lies over a popup's edges as
// its shadow. It paints only through the layered-window update; it never gets
// WM_PAINT work of its own.
#include <windows.h>

#include "ShadowImage.h"
#include "ShadowRender.h"
#include "WindowBase.h"

class CZvnUIShadowWnd : public CWindowBase {
public:
    // Creates the hidden shadow window owned by `owner`; null without a picture.
    HWND Create(HWND owner);

    void SetImage(CZvnShadowImage image, int mode, const RECT& margins);
    [[nodiscard]] bool HasImage() const noexcept { return m_image.IsValid(); }
    [[nodiscard]] const CZvnShadowImage& Image() const noexcept { return m_image; }
    void SetFrame(int frame) noexcept { m_frame = frame; }
    // Mode 4: `target` is sent `message` with (RECT* of the size, picture) and
    // answers a bitmap, which the shadow deletes after use.
    void SetOwnerDraw(HWND target, UINT message) noexcept {
        m_ownerDrawTarget = target;
        m_ownerDrawMessage = message;
    }

    // The bitmap the next paint pushes for a window of `size`; the caller owns it.
    HBITMAP RenderBitmap(SIZE size);
    // Pushes the shadow bitmap for the window's current size. Does nothing
    // when the system has no layered-window update.
    void Paint();

    // Whether this system shows a layered window with its per-pixel alpha.
    // Wine on an X server draws the pixels as they are: a shadow there is an
    // opaque black box over and around its popup.
    static bool AlphaBlends() noexcept;

    BEGIN_MSG_MAP(CZvnUIShadowWnd)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);

    CZvnShadowImage m_image;
    RECT m_margins{};
    int m_mode = kShadowCopy;
    int m_frame = 0;
    HWND m_ownerDrawTarget = nullptr;
    UINT m_ownerDrawMessage = 0;
};
