#include "TesselShadow.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "ModuleState.h"

CTesselShadow::CTesselShadow(CWindowBase& owner) : CZvnUIShadowWndMap(owner) {}

bool CTesselShadow::LoadShadowImages(HINSTANCE library, UINT bodyImage, UINT tailImage) {
    const bool body = m_images[0].LoadFromResource(library, bodyImage);
    const bool tail = m_images[1].LoadFromResource(library, tailImage);
    m_images[2].Reset();
    return body && tail;
}

void CTesselShadow::SetupShadow(const RECT& extents, POINT anchor, const RECT& insets) {
    m_hOwner = OwnerWindow();
    m_anchor = anchor;
    m_insets = insets;
    SetOuterExtents(extents);
    SetInnerInsets(insets);
    if (!m_images[0].IsValid()) LoadShadowImages(ModuleState::ResourceInstance(), kDefaultBodyImage, kDefaultTailImage);
    SetShadowImage(ComposeShadow(), kShadowCopy, RECT{});
    m_setUp = true;
    CreateShadow();
    if (m_hOwner && ::IsWindow(m_hOwner)) ::SetTimer(m_hOwner, kWatchdogTimer, kWatchdogPeriodMs, nullptr);
}

void CTesselShadow::SetupShadowAroundBody(const RECT& body, POINT tip, int edge) {
    RECT client{};
    ::GetClientRect(OwnerWindow(), &client);
    // The shadow reaches out twice the edge and gives one edge back: what the
    // body leaves free on a side comes off that side's reach.
    const RECT extents{2 * edge - body.left, 2 * edge - body.top, 2 * edge - (client.right - body.right),
                       2 * edge - (client.bottom - body.bottom)};
    SetupShadow(extents, tip, RECT{edge, edge, edge, edge});
}

void CTesselShadow::HideShadowUnlessBlended() {
    if (CZvnUIShadowWnd::AlphaBlends()) return;
    m_hiddenUnblended = true;
    SetShadowEnabled(FALSE);
    if (const HWND shadow = ShadowWindow()) ::ShowWindow(shadow, SW_HIDE);
}

CZvnShadowImage CTesselShadow::ComposeShadow() const {
    CZvnShadowImage composed;
    if (!m_images[0].IsValid() || !m_hOwner) return composed;
    RECT window{};
    if (!::GetWindowRect(m_hOwner, &window)) return composed;
    const RECT shadow = ShadowRect(window, OuterExtents(), m_insets);
    const SIZE size{shadow.right - shadow.left, shadow.bottom - shadow.top};
    if (size.cx <= 0 || size.cy <= 0) return composed;
    const RECT margins{m_images[0].Width() / 3, m_images[0].Height() / 3, m_images[0].Width() / 3,
                       m_images[0].Height() / 3};
    if (!composed.Attach(RenderShadowBitmap(m_images[0], kShadowNineGrid, margins, 0, size))) return composed;
    PlaceTail(composed, shadow);
    ClearOwnerShape(composed, window, shadow);
    return composed;
}

void CTesselShadow::ClearOwnerShape(CZvnShadowImage& canvas, const RECT& window, const RECT& shadowRect) const {
    UniqueHrgn shape(::CreateRectRgn(0, 0, 0, 0));
    if (!shape || ::GetWindowRgn(m_hOwner, shape.get()) == ERROR) return;
    ::OffsetRgn(shape.get(), window.left - shadowRect.left, window.top - shadowRect.top);
    const DWORD bytes = ::GetRegionData(shape.get(), 0, nullptr);
    if (bytes == 0) return;
    std::vector<std::uint8_t> data(bytes);
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    if (::GetRegionData(shape.get(), bytes, region) != bytes) return;
    const auto* rects = reinterpret_cast<const RECT*>(region->Buffer);
    for (DWORD i = 0; i < region->rdh.nCount; ++i) {
        const RECT& r = rects[i];
        for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, canvas.Height()); ++y)
            for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, canvas.Width()); ++x)
                canvas.Bits()[static_cast<size_t>(y) * static_cast<size_t>(canvas.Width()) + static_cast<size_t>(x)] = 0;
    }
}

void CTesselShadow::PlaceTail(CZvnShadowImage& canvas, const RECT& shadowRect) const {
    if (m_tailPosition < kTailLeft || m_tailPosition > kTailBottom || !m_images[1].IsValid()) return;
    const int length = m_tailLength;
    const int width = m_tailWidth;
    const bool across = m_tailPosition == kTailTop || m_tailPosition == kTailBottom;
    std::uint32_t* bits = nullptr;
    CZvnShadowImage tail;
    if (!tail.Attach(CreateTopDownBitmap(across ? width : length, across ? length : width, &bits))) return;

    // The picture points left: x runs from the tip, y across the tail.
    const CZvnShadowImage& source = m_images[1];
    auto sample = [&](int along, int side) {
        return source.Pixel(along * source.Width() / length, side * source.Height() / width);
    };
    for (int y = 0; y < tail.Height(); ++y)
        for (int x = 0; x < tail.Width(); ++x) {
            std::uint32_t p = 0;
            switch (m_tailPosition) {
            case kTailLeft: p = sample(x, y); break;
            case kTailRight: p = sample(length - 1 - x, y); break;
            case kTailTop: p = sample(y, x); break;
            default: p = sample(length - 1 - y, x); break;
            }
            bits[static_cast<size_t>(y) * tail.Width() + x] = p;
        }

    const int ax = m_anchor.x - shadowRect.left;
    const int ay = m_anchor.y - shadowRect.top;
    switch (m_tailPosition) {
    case kTailLeft: BlendShadowPixels(tail, canvas, ax, ay - width / 2); break;
    case kTailRight: BlendShadowPixels(tail, canvas, ax - length, ay - width / 2); break;
    case kTailTop: BlendShadowPixels(tail, canvas, ax - width / 2, ay); break;
    default: BlendShadowPixels(tail, canvas, ax - width / 2, ay - length); break;
    }
}

BOOL CTesselShadow::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                         DWORD mapId) {
    if (uMsg == WM_TIMER && wParam == kWatchdogTimer) {
        if (!m_hOwner || !::IsWindow(m_hOwner) || !::IsWindowVisible(m_hOwner)) {
            if (const HWND shadow = ShadowWindow()) ::ShowWindow(shadow, SW_HIDE);
        }
        lResult = 0;
        return TRUE;
    }
    if (uMsg == WM_SIZE && m_setUp) SetShadowImage(ComposeShadow(), kShadowCopy, RECT{});
    if (uMsg == WM_CREATE || uMsg == WM_INITDIALOG) m_hOwner = hWnd;
    if (uMsg == WM_DESTROY) {
        for (auto& image : m_images) image.Reset();
        if (m_hOwner && ::IsWindow(m_hOwner)) ::KillTimer(m_hOwner, kWatchdogTimer);
        m_setUp = false;
        if (m_hiddenUnblended) SetShadowEnabled(TRUE);
        m_hiddenUnblended = false;
    }
    return CZvnUIShadowWndMap::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId);
}
