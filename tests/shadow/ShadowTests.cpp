// Drop shadows: the pixels of shadow pictures (premultiplication on load and
// the modes that fit a picture to the shadow window), real shadow windows
// following real owner popups, and the popups' shadow with its watchdog and
// the tail drawn into its picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "ShadowRender.h"
#include "TesselShadow.h"
#include "UniqueHandle.h"
#include "WindowBase.h"
#include "ZvnUIShadowWndMap.h"
#include "support/Canvas.h"
#include "support/ResourceEnvironment.h"
#include "support/TestSupport.h"

using testsupport::ReadPixels;

namespace {
// The popups' default shadow pictures come from the resource library.
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new testsupport::ResourceEnvironment);

constexpr UINT kDrawShadowMessage = WM_APP + 7;

// A premultiplied picture whose pixel (x, y) is `pixel(x, y)` (0xAARRGGBB).
CZvnShadowImage MakeImage(int width, int height, const std::function<std::uint32_t(int, int)>& pixel, int frames = 1) {
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

class PopupBase : public CWindowBase {
public:
    // A hidden popup at `rect` (screen coordinates).
    bool CreatePopup(const RECT& rect) {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"Vel_TestShadowOwner";
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        return RegisterClassOnce(wc) && CreateEx(WS_EX_TOOLWINDOW, L"Vel_TestShadowOwner", L"", WS_POPUP, rect.left,
                                                 rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                                 nullptr) != nullptr;
    }
};

class ShadowedPopup : public PopupBase, public CZvnUIShadowWndMap {
public:
    ShadowedPopup() : CZvnUIShadowWndMap(static_cast<CWindowBase&>(*this)) {}
    BEGIN_MSG_MAP(ShadowedPopup)
        CHAIN_MSG_MAP(CZvnUIShadowWndMap)
    END_MSG_MAP()
};

class TesselPopup : public PopupBase, public CTesselShadow {
public:
    TesselPopup() : CTesselShadow(static_cast<CWindowBase&>(*this)) {}
    std::vector<UINT_PTR> ownTimers;  // timer ids that reached this window's own handler

    BEGIN_MSG_MAP(TesselPopup)
        CHAIN_MSG_MAP(CTesselShadow)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
    END_MSG_MAP()

private:
    LRESULT OnTimer(UINT, WPARAM id, LPARAM, BOOL&) {
        ownTimers.push_back(id);
        return 0;
    }
};

// Answers kDrawShadowMessage with a fresh bitmap of the asked size and counts the requests.
class ShadowPainter : public CWindowBase {
public:
    bool Create() {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"Vel_TestShadowPainter";
        return RegisterClassOnce(wc) &&
               CreateEx(0, L"Vel_TestShadowPainter", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr) != nullptr;
    }
    int requests = 0;
    SIZE lastSize{};
    HBITMAP lastImage = nullptr;

    BEGIN_MSG_MAP(ShadowPainter)
        MESSAGE_HANDLER(kDrawShadowMessage, OnDraw)
    END_MSG_MAP()

private:
    LRESULT OnDraw(UINT, WPARAM rect, LPARAM image, BOOL&) {
        const RECT* target = reinterpret_cast<const RECT*>(rect);
        ++requests;
        lastSize = SIZE{target->right - target->left, target->bottom - target->top};
        lastImage = reinterpret_cast<HBITMAP>(image);
        std::uint32_t* bits = nullptr;
        return reinterpret_cast<LRESULT>(CreateTopDownBitmap(lastSize.cx, lastSize.cy, &bits));
    }
};

// A bottom-up 32-bit section, as bitmap resources load: row 0 in memory is the
// bottom row of the picture.
HBITMAP BottomUpSection(int width, int height, const std::uint32_t* topDown, int bitCount = 32) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bitCount == 32)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                static_cast<std::uint32_t*>(bits)[(height - 1 - y) * width + x] = topDown[y * width + x];
    return bitmap;
}

TEST(ShadowImage, PremultipliesPartlyTransparentPixelsOnly) {
    // Alpha 0 and 255 keep their colour bytes.
    const std::uint32_t source[] = {0x00FF8040, 0xFF112233, 0x80FF8040, 0x01FFFFFF, 0xFE102030, 0x40000000};
    const std::uint32_t expected[] = {0x00FF8040, 0xFF112233, 0x807F4020, 0x01000000, 0xFE0F1F2F, 0x40000000};
    UniqueHbitmap bottomUp(BottomUpSection(3, 2, source));
    UniqueHbitmap converted(PremultiplyAlphaBitmap(bottomUp.get()));
    ASSERT_TRUE(converted);
    int width = 0, height = 0;
    const auto pixels = ReadPixels(converted.get(), &width, &height);
    ASSERT_EQ(pixels.size(), 6u);
    for (size_t i = 0; i < pixels.size(); ++i) EXPECT_EQ(pixels[i], expected[i]) << "pixel " << i;
    // What the shadow reads straight from memory is in the same, top-down order.
    CZvnShadowImage image;
    ASSERT_TRUE(image.Attach(converted.release()));
    EXPECT_EQ(image.Pixel(0, 0), expected[0]);
    EXPECT_EQ(image.Pixel(2, 1), expected[5]);
}

TEST(ShadowImage, RefusesWhatIsNotA32BitSection) {
    const std::uint32_t none[4] = {};
    UniqueHbitmap rgb(BottomUpSection(2, 2, none, 24));
    EXPECT_EQ(PremultiplyAlphaBitmap(rgb.get()), nullptr);
    UniqueHbitmap device(::CreateBitmap(2, 2, 1, 32, nullptr));
    EXPECT_EQ(PremultiplyAlphaBitmap(device.get()), nullptr);
    EXPECT_EQ(PremultiplyAlphaBitmap(nullptr), nullptr);
}

// A 6x6 picture with a distinct value per pixel: 0xFF000000 | (y << 8) | x.
std::uint32_t Coordinates(int x, int y) { return 0xFF000000u | static_cast<std::uint32_t>(y << 8 | x); }
int SourceX(std::uint32_t p) { return static_cast<int>(p & 0xFF); }

struct Rendered {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Rendered Render(const CZvnShadowImage& image, int mode, RECT margins, int frame, SIZE target) {
    Rendered out;
    UniqueHbitmap bitmap(RenderShadowBitmap(image, mode, margins, frame, target));
    if (bitmap) out.pixels = ReadPixels(bitmap.get(), &out.width, &out.height);
    return out;
}

TEST(ShadowRender, NineGridKeepsCornersAndStretchesTheRest) {
    const CZvnShadowImage image = MakeImage(6, 6, Coordinates);
    const Rendered r = Render(image, kShadowNineGrid, RECT{2, 1, 2, 2}, 0, SIZE{20, 11});
    ASSERT_EQ(r.width, 20);
    ASSERT_EQ(r.height, 11);
    // Corners one to one.
    EXPECT_EQ(r.At(1, 0), Coordinates(1, 0));
    EXPECT_EQ(r.At(18, 9), Coordinates(4, 4));
    EXPECT_EQ(r.At(19, 0), Coordinates(5, 0));
    // Edges only ever take the source's middle.
    for (int x = 2; x < 18; ++x) {
        EXPECT_GE(SourceX(r.At(x, 0)), 2);
        EXPECT_LE(SourceX(r.At(x, 0)), 3);
    }
    for (int y = 1; y < 9; ++y) EXPECT_EQ(SourceX(r.At(0, y)), 0);
}

TEST(ShadowRender, FramesCopiesAndOwnerDrawing) {
    // Two frames side by side: frame 1 starts at source x 3.
    const CZvnShadowImage frames = MakeImage(6, 4, Coordinates);
    const CZvnShadowImage twoFrames = MakeImage(6, 4, Coordinates, 2);
    Rendered r = Render(twoFrames, kShadowNineGrid, RECT{1, 1, 1, 1}, 1, SIZE{8, 8});
    ASSERT_EQ(r.width, 8);
    EXPECT_EQ(r.At(0, 0), Coordinates(3, 0));
    EXPECT_EQ(r.At(7, 7), Coordinates(5, 3));

    // Copied: the current frame as it is, whatever the window's size.
    r = Render(twoFrames, kShadowCopy, RECT{}, 1, SIZE{100, 100});
    ASSERT_EQ(r.width, 3);
    ASSERT_EQ(r.height, 4);
    EXPECT_EQ(r.At(2, 3), Coordinates(5, 3));

    EXPECT_TRUE(Render(frames, kShadowOwnerDraw, RECT{}, 0, SIZE{10, 10}).pixels.empty());
    EXPECT_TRUE(Render(CZvnShadowImage{}, kShadowNineGrid, RECT{}, 0, SIZE{10, 10}).pixels.empty());
}

const RECT kExtents{10, 12, 14, 16};
const RECT kInsets{2, 3, 4, 5};

RECT Expected(HWND owner) { return CZvnUIShadowWndMap::ShadowRect(WindowRect(owner), kExtents, kInsets); }

class ShadowFollowsOwner : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(painter.Create());
        popup.SetOuterExtents(kExtents);
        popup.SetInnerInsets(kInsets);
        popup.SetShadowImage(MakeImage(8, 8, [](int, int) { return 0x40000000u; }), kShadowOwnerDraw, RECT{});
        popup.SetShadowOwnerDraw(painter.m_hWnd, kDrawShadowMessage);
    }
    void TearDown() override { popup.DestroyWindow(); }

    ShadowPainter painter;
    ShadowedPopup popup;
};

TEST_F(ShadowFollowsOwner, CreatedHiddenWithTheOwnerAsAClickThroughLayeredToolWindow) {
    ASSERT_TRUE(popup.CreatePopup(RECT{100, 100, 300, 200}));
    const HWND shadow = popup.ShadowWindow();
    ASSERT_TRUE(::IsWindow(shadow));
    EXPECT_EQ(::GetWindow(shadow, GW_OWNER), popup.m_hWnd);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(shadow, GWL_EXSTYLE);
    EXPECT_EQ(exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW),
              WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::IsWindowVisible(shadow));
    for (const wchar_t* name : {L"AsNoRemoteControlWindowProp", L"AsBringToTopWhenAnnotationProp",
                                L"ZvnNotMinimizedAfterSharing", L"LuminetMeeting"})
        EXPECT_EQ(::GetPropW(shadow, name), reinterpret_cast<HANDLE>(1)) << "property " << name;
    EXPECT_EQ(painter.lastImage, ShadowObject(shadow)->Image().Handle()) << "the owner draw gets the picture";
}

// The nearest window above `window` in the z-order that belongs to this process.
HWND NextOwnWindowAbove(HWND window) {
    for (HWND above = ::GetWindow(window, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(above, &process);
        if (process == ::GetCurrentProcessId()) return above;
    }
    return nullptr;
}

TEST_F(ShadowFollowsOwner, ShowMoveSizeHideAndDestroy) {
    ASSERT_TRUE(popup.CreatePopup(RECT{100, 100, 300, 200}));
    const HWND shadow = popup.ShadowWindow();
    ASSERT_NE(shadow, nullptr);

    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), RECT{92, 91, 310, 211}));
    // Above its owner, the picture's clear middle letting the owner show through.
    // Other test programs share this desktop: only this process's windows count.
    EXPECT_EQ(NextOwnWindowAbove(popup.m_hWnd), shadow) << "right above its owner, nothing of ours between";

    // Dragging: the shadow moves along.
    ::SetWindowPos(popup.m_hWnd, nullptr, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(popup.m_hWnd)));

    // Resizing repaints at the new size.
    int paints = painter.requests;
    ::SetWindowPos(popup.m_hWnd, nullptr, 0, 0, 250, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(popup.m_hWnd)));
    EXPECT_GT(painter.requests, paints);
    EXPECT_EQ(painter.lastSize.cx, 250 + 10 + 14 - 2 - 4);
    EXPECT_EQ(painter.lastSize.cy, 90 + 12 + 16 - 3 - 5);

    // Hidden with the owner but kept; shown again in place and repainted.
    ::ShowWindow(popup.m_hWnd, SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(shadow));
    ::MoveWindow(popup.m_hWnd, 50, 60, 120, 80, FALSE);  // while hidden
    paints = painter.requests;
    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(shadow));
    EXPECT_TRUE(SameRect(WindowRect(shadow), Expected(popup.m_hWnd)));
    EXPECT_GT(painter.requests, paints);

    popup.DestroyWindow();
    EXPECT_FALSE(::IsWindow(shadow));
}

TEST_F(ShadowFollowsOwner, DisabledOrWithoutPictureNoShadowWindow) {
    popup.SetShadowEnabled(FALSE);
    ASSERT_TRUE(popup.CreatePopup(RECT{100, 100, 300, 200}));
    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    ::SetWindowPos(popup.m_hWnd, nullptr, 0, 0, 220, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(popup.ShadowWindow(), nullptr);
    EXPECT_EQ(painter.requests, 0);

    ShadowedPopup bare;
    ASSERT_TRUE(bare.CreatePopup(RECT{100, 100, 300, 200}));
    ::ShowWindow(bare.m_hWnd, SW_SHOWNOACTIVATE);
    EXPECT_EQ(bare.ShadowWindow(), nullptr);
    bare.DestroyWindow();
}

const RECT kOwner{300, 200, 500, 300};
const RECT kTailExtents{40, 16, 16, 16};
const RECT kNoInsets{};

TEST(TesselShadow, WatchdogHidesTheShadowOfAnOwnerHiddenWithoutNotice) {
    TesselPopup popup;
    ASSERT_TRUE(popup.CreatePopup(kOwner));
    ::ShowWindow(popup.m_hWnd, SW_SHOWNOACTIVATE);
    popup.SetupShadow(kTailExtents, POINT{kOwner.left - 20, 250}, kNoInsets);
    const HWND shadow = popup.ShadowWindow();
    ASSERT_TRUE(::IsWindow(shadow));
    ::SetWindowPos(shadow, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_TRUE(::IsWindowVisible(shadow));
    ::SetTimer(popup.m_hWnd, 77, 50, nullptr);

    // Visible owner: the watchdog leaves the shadow alone.
    EXPECT_FALSE(testsupport::PumpUntil([&] { return !::IsWindowVisible(shadow); }, 700));

    ::SetWindowPos(popup.m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsWindowVisible(shadow); }, 2000));
    EXPECT_TRUE(::IsWindow(shadow));

    ::KillTimer(popup.m_hWnd, 77);
    EXPECT_FALSE(popup.ownTimers.empty());
    for (const UINT_PTR id : popup.ownTimers) EXPECT_NE(id, CTesselShadow::kWatchdogTimer) << "the watchdog's own timer";
    popup.DestroyWindow();
}

// Alpha of the shadow picture at a screen point.
unsigned AlphaAt(const TesselPopup& popup, POINT screen) {
    const CZvnUIShadowWnd* shadow = ShadowObject(popup.ShadowWindow());
    if (!shadow || !shadow->Image().IsValid()) return 999;
    const RECT rect = CZvnUIShadowWndMap::ShadowRect(WindowRect(popup.m_hWnd), kTailExtents, kNoInsets);
    return shadow->Image().Pixel(screen.x - rect.left, screen.y - rect.top) >> 24;
}

TEST(TesselShadow, TailShadowLiesAtTheAnchorOnTheTailsSide) {
    const POINT leftAnchor{kOwner.left - 20, 250};
    const POINT leftTail{leftAnchor.x + 7, leftAnchor.y};  // inside a tail pointing left
    const POINT rightTail{leftAnchor.x - 7, leftAnchor.y};  // inside one pointing right from there

    TesselPopup plain;
    ASSERT_TRUE(plain.CreatePopup(kOwner));
    plain.SetupShadow(kTailExtents, leftAnchor, kNoInsets);
    const unsigned body = AlphaAt(plain, leftTail);

    TesselPopup left;
    left.SetTailPosition(CTesselShadow::kTailLeft);
    ASSERT_TRUE(left.CreatePopup(kOwner));
    left.SetupShadow(kTailExtents, leftAnchor, kNoInsets);
    EXPECT_GT(AlphaAt(left, leftTail), body + 20);

    // Pointing right, the same anchor puts the tail on its other side.
    TesselPopup right;
    right.SetTailPosition(CTesselShadow::kTailRight);
    ASSERT_TRUE(right.CreatePopup(kOwner));
    right.SetupShadow(kTailExtents, leftAnchor, kNoInsets);
    EXPECT_LT(AlphaAt(right, leftTail), AlphaAt(left, leftTail));
    EXPECT_GT(AlphaAt(right, rightTail), AlphaAt(plain, rightTail) + 20);

    // A resized owner keeps the tail in its new picture.
    ::SetWindowPos(left.m_hWnd, nullptr, 0, 0, 240, 140, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(ShadowObject(left.ShadowWindow())->Image().Width(), 240 + 40 + 16);
    EXPECT_GT(AlphaAt(left, leftTail), body + 20);

    plain.DestroyWindow();
    left.DestroyWindow();
    right.DestroyWindow();
}
}  // namespace
