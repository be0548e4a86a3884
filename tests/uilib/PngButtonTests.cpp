// The image button as a real child window: mouse, keyboard and timers through
// real messages, its looks read back from WM_PRINTCLIENT into a 32-bit canvas.
#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "UilibTestSupport.h"
#include "support/TestSupport.h"
#include "PngButton.h"
#include "VelGdiplus.h"

#include <commctrl.h>

using uilibtest::Canvas;

namespace {
const UINT kButtonId = 1033;
const COLORREF kNormalFace = RGB(0, 160, 0);
const COLORREF kPushedFace = RGB(0, 90, 0);
const COLORREF kHotFace = RGB(0, 200, 120);
const COLORREF kDisabledFace = RGB(200, 200, 200);
const COLORREF kNormalText = RGB(255, 255, 255);
const COLORREF kDisabledText = RGB(153, 0, 153);

struct Command {
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Command> g_commands;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) g_commands.push_back({wParam, lParam});
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LPARAM ClientPoint(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))); }

class PngButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW wc{sizeof(wc)};
        wc.lpfnWndProc = &ParentProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QkTestButtonParent";
        WNDCLASSEXW existing{sizeof(existing)};
        if (!::GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) ::RegisterClassExW(&wc);
        m_parent.reset(::CreateWindowExW(0, wc.lpszClassName, L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                         300, 200, nullptr, nullptr, wc.hInstance, nullptr));
        ASSERT_TRUE(m_parent);
        m_font.reset(::CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                                   L"Tahoma"));
        g_commands.clear();
    }
    void TearDown() override {
        m_button.reset();
        m_parent.reset();
        testsupport::PumpPending();
    }

    CPngButton& MakeButton(DWORD style, int width = 80, int height = 30) {
        m_button = std::make_unique<CPngButton>(style);
        int slot = 0;
        for (COLORREF face : {kNormalFace, kPushedFace, kHotFace, kDisabledFace})
            m_button->SetImage(slot++, uilibtest::SolidImage(8, 8, face));
        m_button->SetFonts(m_font.get(), m_font.get());
        m_button->SetTextColors(kNormalText, kDisabledText);
        const RECT rect{10, 10, 10 + width, 10 + height};
        EXPECT_NE(m_button->Create(m_parent.get(), rect, kButtonId, L"WWW"), nullptr);
        return *m_button;
    }

    // What the button paints now.
    std::unique_ptr<Canvas> Render() {
        RECT client{};
        ::GetClientRect(m_button->m_hWnd, &client);
        auto canvas = std::make_unique<Canvas>(client.right, client.bottom, RGB(255, 0, 255));
        ::SendMessageW(m_button->m_hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
        return canvas;
    }
    COLORREF Face() { return Render()->At(1, 1); }

    size_t CommandsAfterPumping(DWORD ms = 100) {
        testsupport::PumpUntil([] { return false; }, ms);
        return g_commands.size();
    }

    void Send(UINT message, WPARAM wParam, LPARAM lParam) { ::SendMessageW(m_button->m_hWnd, message, wParam, lParam); }

    UniqueHwnd m_parent;
    UniqueHfont m_font;
    std::unique_ptr<CPngButton> m_button;
};

TEST_F(PngButtonTest, ReleasingOutsideAfterPressingPostsNothing) {
    for (DWORD style : {DWORD{0}, DWORD{CPngButton::kHover}}) {
        CPngButton& button = MakeButton(style);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
        EXPECT_EQ(::GetCapture(), button.m_hWnd) << "style " << style;
        EXPECT_EQ(Face(), kPushedFace);
        Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(-30, 60));
        // A plain press also takes the focus, which looks hot.
        EXPECT_EQ(Face(), style == 0 ? kHotFace : kNormalFace) << "style " << style;
        Send(WM_LBUTTONUP, 0, ClientPoint(-30, 60));
        EXPECT_EQ(CommandsAfterPumping(), 0u) << "style " << style;
        EXPECT_EQ(::GetCapture(), nullptr);

        // The same press released inside is one click.
        Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(5, 5));
        Send(WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(6, 6));
        Send(WM_LBUTTONUP, 0, ClientPoint(6, 6));
        ASSERT_EQ(CommandsAfterPumping(), 1u) << "style " << style;
        EXPECT_EQ(LOWORD(g_commands[0].wParam), kButtonId);
        EXPECT_EQ(reinterpret_cast<HWND>(g_commands[0].lParam), button.m_hWnd);
        m_button.reset();
        g_commands.clear();
    }
}

TEST_F(PngButtonTest, SpaceAndEnterEachPostOneCommand) {
    MakeButton(CPngButton::kHover);
    for (WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
        g_commands.clear();
        Send(WM_KEYDOWN, key, 0);
        EXPECT_EQ(Face(), kPushedFace) << key;
        Send(WM_KEYUP, key, 0);
        EXPECT_EQ(Face(), kNormalFace) << key;
        ASSERT_EQ(CommandsAfterPumping(), 1u) << key;
        EXPECT_EQ(g_commands[0].wParam, MAKEWPARAM(kButtonId, BN_CLICKED));
    }
    // A key-up without its key-down does nothing.
    g_commands.clear();
    Send(WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(CommandsAfterPumping(), 0u);
}

TEST_F(PngButtonTest, DialogsLetEnterAndSpaceThrough) {
    MakeButton(0);
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_SPACE}, WPARAM{VK_EXECUTE}, WPARAM{VK_TAB}}) {
        MSG asked{m_button->m_hWnd, WM_KEYDOWN, key, 0, 0, {}};
        const LRESULT code = ::SendMessageW(m_button->m_hWnd, WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&asked));
        EXPECT_EQ((code & DLGC_WANTMESSAGE) != 0, key != VK_TAB) << key;
        EXPECT_NE(code & DLGC_BUTTON, 0) << key;
    }
}

TEST_F(PngButtonTest, EachStateShowsItsPicture) {
    CPngButton& button = MakeButton(CPngButton::kHover);
    EXPECT_EQ(Face(), kNormalFace);

    Send(WM_MOUSEMOVE, 0, ClientPoint(4, 4));
    EXPECT_EQ(Face(), kHotFace);
    Send(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Face(), kNormalFace);

    ::SetFocus(button.m_hWnd);
    EXPECT_EQ(Face(), kHotFace);
    ::SetFocus(m_parent.get());
    EXPECT_EQ(Face(), kNormalFace);
}

TEST_F(PngButtonTest, DisabledButtonUsesSlotThreeAndTheDisabledCaption) {
    CPngButton& button = MakeButton(0);
    const RECT all{0, 0, 80, 30};
    EXPECT_EQ(Render()->Count(all, kDisabledText), 0);
    ::EnableWindow(button.m_hWnd, FALSE);
    auto disabled = Render();
    EXPECT_EQ(disabled->At(78, 28), kDisabledFace);
    EXPECT_GT(disabled->Count(all, kDisabledText), 10);
    EXPECT_EQ(disabled->Count(all, kNormalText), 0);

    // Without a disabled font there is no caption at all.
    button.SetFonts(m_font.get(), nullptr);
    auto noCaption = Render();
    EXPECT_EQ(noCaption->Count(all, kDisabledFace), 80 * 30);
}

// Pictures named by number are decoded when first drawn or measured; what
// shows must be the library's picture, and a number the library lacks is
// refused at once.
TEST_F(PngButtonTest, NumberedPicturesAreTheLibrarysAndUnknownNumbersAreRefused) {
    const UINT kFace = 179, kMissing = 4242;
    CPngButton& button = MakeButton(0);
    EXPECT_FALSE(button.SetImage(CPngButton::kNormal, kMissing));
    EXPECT_EQ(Face(), RGB(255, 255, 255));  // the slot is empty: only the background shows
    ASSERT_TRUE(button.SetImages(kFace, kFace, kFace, kFace));

    SIZE size{};
    ASSERT_TRUE(CVelGdiplus::GetImageSize(size, kFace));
    Canvas expected(size.cx, size.cy, RGB(255, 0, 255));
    ASSERT_TRUE(CVelGdiplus::DrawImage(expected.dc(), 0, 0, kFace));
    const COLORREF centre = expected.At(size.cx / 2, size.cy / 2);
    EXPECT_TRUE(uilibtest::Near(Render()->At(40, 15), centre, 3));

    // A button that takes its picture's size does so before any paint.
    CPngButton sized(CPngButton::kAutoSize);
    ASSERT_NE(sized.Create(m_parent.get(), RECT{0, 50, 5, 55}, kButtonId + 1), nullptr);
    ASSERT_TRUE(sized.SetImage(CPngButton::kNormal, kFace));
    RECT rect{};
    ::GetWindowRect(sized.m_hWnd, &rect);
    EXPECT_EQ(rect.right - rect.left, size.cx);
    EXPECT_EQ(rect.bottom - rect.top, size.cy);
}

// The tip control is a window of its own, made when the mouse first reaches
// the button; it must then carry the button's tip.
TEST_F(PngButtonTest, TipIsMadeOnTheFirstMouseMessageWithTheButtonsText) {
    CPngButton& button = MakeButton(0);
    button.SetToolTipText(std::wstring(L"Refresh the day"));
    EXPECT_EQ(button.GetToolTip(), nullptr);
    Send(WM_MOUSEMOVE, 0, ClientPoint(5, 5));
    const HWND tip = button.GetToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    wchar_t text[64] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = m_parent.get();
    info.uId = reinterpret_cast<UINT_PTR>(button.m_hWnd);
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"Refresh the day");
    Send(WM_MOUSEMOVE, 0, ClientPoint(6, 6));
    EXPECT_EQ(button.GetToolTip(), tip) << "made once";
}

TEST_F(PngButtonTest, BusyAnimationShowsTheNextFrameOnEachRepaint) {
    CPngButton& button = MakeButton(0);
    EXPECT_FALSE(button.StartBusyAnimation());  // no frames yet
    EXPECT_TRUE(::IsWindowEnabled(button.m_hWnd));

    const COLORREF frames[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
    for (COLORREF colour : frames) button.AddBusyFrame(uilibtest::SolidImage(8, 8, colour));
    button.SetBusyAnimation(TRUE);
    for (int repaint = 0; repaint < 7; ++repaint) EXPECT_EQ(Face(), frames[repaint % 3]) << repaint;

    // The caption shows in the disabled colour while busy.
    EXPECT_GT(Render()->Count({0, 0, 80, 30}, kDisabledText), 10);

    button.SetBusyAnimation(FALSE);
    EXPECT_EQ(Face(), kNormalFace);

    // Started by its owner, the animation disables the button and moves on by itself.
    ASSERT_TRUE(button.StartBusyAnimation(20));
    EXPECT_FALSE(::IsWindowEnabled(button.m_hWnd));
    EXPECT_TRUE(testsupport::PumpUntil([&] { return Face() != frames[0]; }, 2000));
    button.StopBusyAnimation();
    EXPECT_TRUE(::IsWindowEnabled(button.m_hWnd));
    EXPECT_EQ(Face(), kNormalFace);
}
}  // namespace
