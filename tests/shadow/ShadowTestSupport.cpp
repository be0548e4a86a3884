#include "ShadowTestSupport.h"

#include <gtest/gtest.h>

#include "support/ResourceEnvironment.h"
#include "support/TestSupport.h"

namespace shadowtest {
namespace {
// The popups' default shadow pictures come from the resource library.
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::ResourceEnvironment);
}  // namespace

CZvnShadowImage MakeImage(int width, int height, const std::function<std::uint32_t(int, int)>& pixel, int frames) {
    std::uint32_t* bits = nullptr;
    CZvnShadowImage image;
    image.Attach(CreateTopDownBitmap(width, height, &bits), frames);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bits[y * width + x] = pixel(x, y);
    return image;
}

RECT WindowRect(HWND hwnd) {
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

CZvnUIShadowWnd* ShadowObject(HWND shadow) { return dynamic_cast<CZvnUIShadowWnd*>(CWindowBase::FromHandle(shadow)); }

bool PopupBase::CreatePopup(const RECT& rect) {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"Vel_TestShadowOwner";
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    if (!RegisterClassOnce(wc)) return false;
    return CreateEx(WS_EX_TOOLWINDOW, L"Vel_TestShadowOwner", L"", WS_POPUP, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr) != nullptr;
}

bool ShadowPainter::Create() {
    WNDCLASSEXW wc{};
    wc.lpszClassName = L"Vel_TestShadowPainter";
    if (!RegisterClassOnce(wc)) return false;
    return CreateEx(0, L"Vel_TestShadowPainter", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr) != nullptr;
}

LRESULT ShadowPainter::OnDraw(UINT, WPARAM rect, LPARAM image, BOOL&) {
    const RECT* target = reinterpret_cast<const RECT*>(rect);
    ++requests;
    lastSize = SIZE{target->right - target->left, target->bottom - target->top};
    lastImage = reinterpret_cast<HBITMAP>(image);
    std::uint32_t* bits = nullptr;
    HBITMAP drawn = CreateTopDownBitmap(lastSize.cx, lastSize.cy, &bits);
    return reinterpret_cast<LRESULT>(drawn);
}
}  // namespace shadowtest
