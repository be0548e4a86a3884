#pragma once
// Real bubbles beside a real item window, with the real host's event bus, the
// suite's settings service holding the account, and a frame that records the
// meeting operations it is asked for.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "BubbleInfor.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"
#include "support/RecordingFrame.h"
#include "UniqueHandle.h"

namespace bubbletest {
class BubbleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // A meeting with every row filled.
    static CBubblePara FullMeeting();
    // Opens the bubble for `para` beside an item of 200 x 40 centred at (x, y).
    bool Open(const CBubblePara& para, int centerX = 300, int centerY = 400);
    // Signs in an account with this Z11 site name (empty for none).
    static void SetZ11SiteName(const wchar_t* name);

    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(bubble.m_hWnd, id); }
    [[nodiscard]] std::wstring Text(int id) const { return testsupport::WindowText(Control(id)); }
    [[nodiscard]] RECT ControlRect(int id) const;  // in the bubble's client coordinates
    [[nodiscard]] static RECT WindowRect(HWND window);

    TestHost host;
    testsupport::RecordingFrame frame;
    UniqueHwnd item;  // stands for the meeting item: the bubble's owner and anchor
    CBubbleInfor bubble{&frame};
    RECT work{};
    int screenWidth = 0;
};
}  // namespace bubbletest
