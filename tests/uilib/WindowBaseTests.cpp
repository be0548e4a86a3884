// The one window base under windows and dialogs: a handler that throws does
// not cross the window procedure, the object hears of its window's end once,
// and the classes registered through the base go when the toolkit stops.
#include <gtest/gtest.h>

#include <stdexcept>

#include "DialogBase.h"
#include "ModuleState.h"
#include "PngButton.h"
#include "UIToolkit.h"
#include "support/TestSupport.h"

namespace {
const UINT kThrowMessage = WM_APP + 7;
const UINT kAnswerMessage = WM_APP + 8;
const wchar_t kProbeClass[] = L"QkTestProbeWindow";
const UINT kPasswordTemplate = 270;

// Answers one message and throws on another; counts its final messages.
template <class Base>
class Probe final : public Base {
public:
    using Base::Base;
    BEGIN_MSG_MAP(Probe)
        MESSAGE_HANDLER(kThrowMessage, OnThrow)
        MESSAGE_HANDLER(kAnswerMessage, OnAnswer)
    END_MSG_MAP()
    int finalMessages = 0;

protected:
    void OnFinalMessage(HWND) override { ++finalMessages; }

private:
    LRESULT OnThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("handler failed"); }
    LRESULT OnAnswer(UINT, WPARAM, LPARAM, BOOL&) { return 42; }
};
using ProbeWindow = Probe<CWindowBase>;
using ProbeDialog = Probe<CDialogBase>;

bool Create(ProbeWindow& window) {
    WNDCLASSEXW wc{};
    wc.lpszClassName = kProbeClass;
    return CWindowBase::RegisterClassOnce(wc) &&
           window.CreateEx(0, kProbeClass, L"probe", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr) != nullptr;
}

template <class Window>
void ExpectGuardedUntilItsEnd(Window& probe) {
    const HWND hwnd = probe.m_hWnd;
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_EQ(&probe, CWindowBase::FromHandle(hwnd));
    EXPECT_EQ(42, ::SendMessageW(hwnd, kAnswerMessage, 0, 0));
    EXPECT_EQ(0, ::SendMessageW(hwnd, kThrowMessage, 0, 0)) << "a failed handler leaves the message unhandled";
    EXPECT_TRUE(::IsWindow(hwnd));
    ::DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, probe.m_hWnd);
    EXPECT_EQ(1, probe.finalMessages);
}

bool ClassExists(const wchar_t* name) {
    WNDCLASSEXW wc{sizeof(wc)};
    return ::GetClassInfoExW(ModuleState::Instance(), name, &wc) != FALSE;
}

TEST(WindowBase, WindowsAndDialogsShareTheGuardedDispatchAndTheEnd) {
    ProbeWindow window;
    ASSERT_TRUE(Create(window));
    ExpectGuardedUntilItsEnd(window);

    ProbeDialog dialog(kPasswordTemplate);
    ASSERT_NE(nullptr, dialog.Create(nullptr));
    ExpectGuardedUntilItsEnd(dialog);
}

TEST(WindowBase, TheToolkitsStopUnregistersTheClassesRegisteredThroughTheBase) {
    ProbeWindow survivor;
    ASSERT_TRUE(Create(survivor));
    {
        CPngButton button;
        ASSERT_NE(nullptr, button.Create(survivor.m_hWnd, RECT{0, 0, 10, 10}, 1));
    }
    ASSERT_TRUE(ClassExists(CPngButton::kClassName));

    CUIToolkit::Uninitialize();
    EXPECT_FALSE(ClassExists(CPngButton::kClassName));
    EXPECT_TRUE(ClassExists(kProbeClass)) << "a class with a window stays";

    survivor.DestroyWindow();
    ASSERT_TRUE(CUIToolkit::Initialize(ModuleState::ResourceInstance(), testsupport::BinFolder()));
    CUIToolkit::Uninitialize();
    EXPECT_FALSE(ClassExists(kProbeClass)) << "and goes at the next stop";
    ASSERT_TRUE(CUIToolkit::Initialize(ModuleState::ResourceInstance(), testsupport::BinFolder()));
}
}  // namespace
