#include "ShadowTestSupport.h"

#include <gtest/gtest.h>

#include "ModuleState.h"
#include "UniqueHandle.h"
#include "support/TestSupport.h"

namespace shadowtest {
namespace {
// The popups' default shadow pictures come from the resource library.
class ResourceEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        m_resources.reset(::LoadLibraryW((testsupport::BinFolder() + L"qksjres.dll").c_str()));
        ASSERT_TRUE(m_resources);
        ModuleState::SetResourceInstance(m_resources.get());
    }
    void TearDown() override {
        ModuleState::SetResourceInstance(nullptr);
        m_resources.reset();
    }

private:
    UniqueHmodule m_resources;
};
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ResourceEnvironment);
}  // namespace

CZvnShadowImage MakeImage(int width, int height, const std::function<std::uint32_t(int, int)>& pixel, int frames) {
    std::uint32_t* bits = nullptr;
    CZvnShadowImage image;
    image.Attach(CreateTopDownBitmap(width, height, &bits), frames);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bits[y * width + x] = pixel(x, y);
    return image;
}

std::vector<std::uint32_t> ReadPixels(HBITMAP bitmap, int* width, int* height) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) == 0) return {};
    *width = info.bmWidth;
    *height = info.bmHeight;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = *width;
    format.bmiHeader.biHeight = -*height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(*width) * static_cast<size_t>(*height));
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(*height), pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != *height) return {};
    return pixels;
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
