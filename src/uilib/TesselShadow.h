#pragma once
// The shadow of the module's popups: a soft body around the popup and, for
// bubble-shaped popups, the shadow of the tail that points at the anchor. A
// watchdog timer on the owner hides the shadow when the owner disappears
// without telling (hidden by SetWindowPos, destroyed by its parent).
#include <array>

#include "ZvnUIShadowWndMap.h"
#include "ResourceIds.h"

class CTesselShadow : public CZvnUIShadowWndMap {
public:
    static constexpr UINT_PTR kWatchdogTimer = 5011;
    static constexpr UINT kWatchdogPeriodMs = 500;
    static constexpr UINT kDefaultBodyImage = IDB_SHADOW_BODY;
    static constexpr UINT kDefaultTailImage = IDB_SHADOW_TAIL;
    // Where the tail sits on the owner; the tail picture points left.
    enum TailPosition : int { kTailNone = 0, kTailLeft = 1, kTailRight = 2, kTailTop = 3, kTailBottom = 4 };

    explicit CTesselShadow(CWindowBase& owner);

    // Body and tail pictures from the resource library; without this call the
    // setup takes IDB_SHADOW_BODY and IDB_SHADOW_TAIL.
    bool LoadShadowImages(HINSTANCE library, UINT bodyImage, UINT tailImage);
    void SetTailPosition(int code) noexcept { m_tailPosition = code; }

    // `anchor` is the tail's tip in screen coordinates. Builds the shadow for
    // the owner's current size, creates the shadow window and starts the watchdog.
    void SetupShadow(const RECT& extents, POINT anchor, const RECT& insets);
    // The same for an owner whose visible body lies `body` inside its client
    // area (a bubble leaves room for its tail there): a soft edge `edge`
    // pixels wide just outside the body. `tip` is the tail's tip on the screen.
    void SetupShadowAroundBody(const RECT& body, POINT tip, int edge);
    // Where the system would show the shadow as an opaque box, the popup goes
    // without: the shadow is hidden and stays so for the owner's window (a
    // later window of the same object gets its shadow again). Call once the
    // owner shows.
    void HideShadowUnlessBlended();

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;

private:
    // Body stretched to the shadow's size with the tail blended in.
    CZvnShadowImage ComposeShadow() const;
    void PlaceTail(CZvnShadowImage& canvas, const RECT& shadowRect) const;
    // The shadow window lies above its owner: whatever of the shadow falls on
    // the owner's window region (a bubble's body and tail) is cleared.
    void ClearOwnerShape(CZvnShadowImage& canvas, const RECT& window, const RECT& shadowRect) const;

    // Body, tail, and the composed shadow while it is being built.
    std::array<CZvnShadowImage, 3> m_images;
    int m_tailPosition = kTailNone;
    HWND m_hOwner = nullptr;
    int m_tailLength = 10;  // along the tail's direction
    int m_tailWidth = 16;   // across it
    RECT m_insets{};
    POINT m_anchor{};
    bool m_setUp = false;
    bool m_hiddenUnblended = false;
};
