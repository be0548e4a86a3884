// Real bubbles beside a real item window, with the real host's event bus, the
// suite's settings service holding the account, and a frame that records the
// meeting operations it is asked for: placement, rows, button, closing rules,
// tooltips, and the shape as the screen shows it; the limits of the texts and
// the file kinds without windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "BubbleInfor.h"
#include "BubbleLayout.h"
#include "DcGuards.h"
#include "FileTypeIcons.h"
#include "HostEvents.h"
#include "UniqueHandle.h"
#include "support/RecordingFrame.h"
#include "support/SettingsServiceAccount.h"
#include "support/TestHost.h"
#include "support/TestSupport.h"

namespace {
testsupport::SettingsServiceAccount* g_service = nullptr;

class BubbleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { g_service = new testsupport::SettingsServiceAccount(testsupport::BinFolder()); }
    static void TearDownTestSuite() {
        delete g_service;
        g_service = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(g_service && g_service->Registered());
        SetEventHost(host.app);
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
        SetZ11SiteName(L"");
    }
    void TearDown() override {
        bubble.Close();
        item.reset();
        testsupport::PumpPending();
        SetEventHost(nullptr);
    }

    // A meeting with every row filled.
    static CBubblePara FullMeeting() {
        CBubblePara para;
        para.m_strTopic = L"Quarterly planning";
        para.m_strTime = L"10:00 - 11:00 AM";
        para.m_strHostName = L"Dana Host";
        para.m_strRecurrence = L"Every week on Monday";
        para.m_strInvitees = L"Ann;Bob,Cy";
        para.m_strAgenda = L"Budget\r\nHiring";
        para.m_files = {L"plan.docx", L"numbers.xlsx", L"notes"};
        para.m_bValid = 1;
        para.m_strKey = L"123456789";
        para.m_bNotFromOI = 1;
        para.m_dtStart = 45000.5;
        return para;
    }
    // Opens the bubble for `para` beside an item of 200 x 40 centred at (x, y).
    bool Open(const CBubblePara& para, int centerX = 300, int centerY = 400) {
        const RECT anchor{centerX - 100, centerY - 20, centerX + 100, centerY + 20};
        // A control that answers hit tests, as an item does (a static would let the cursor through).
        item.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"BUTTON", L"item", WS_POPUP | WS_VISIBLE | BS_PUSHBUTTON,
                                     anchor.left, anchor.top, 200, 40, nullptr, nullptr, nullptr, nullptr));
        if (!item || !bubble.CreateMyWindow(item.get(), anchor, para)) return false;
        ::UpdateWindow(bubble.m_hWnd);
        return true;
    }
    static void SetZ11SiteName(const wchar_t* name) {
        ASSERT_TRUE(g_service->Use(std::wstring(L"<Settings><Account><SiteName>s.example</SiteName><Z11SiteName>") +
                                   name + L"</Z11SiteName></Account></Settings>"));
    }

    [[nodiscard]] HWND Control(int id) const { return ::GetDlgItem(bubble.m_hWnd, id); }
    [[nodiscard]] std::wstring Text(int id) const { return testsupport::WindowText(Control(id)); }
    [[nodiscard]] static RECT WindowRect(HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return rect;
    }
    // In the bubble's client coordinates.
    [[nodiscard]] RECT ControlRect(int id) const {
        RECT rect = WindowRect(Control(id));
        ::MapWindowPoints(nullptr, bubble.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    TestHost host;
    testsupport::RecordingFrame frame;
    UniqueHwnd item;  // stands for the meeting item: the bubble's owner and anchor
    CBubbleInfor bubble{&frame};
    RECT work{};
    int screenWidth = 0;
};

TEST(BubbleLayout, TextsAreCutAt512CharactersOr20LinesWithAnEllipsis) {
    std::wstring thirtyLines, twentyLines;
    for (int i = 1; i <= 30; ++i) thirtyLines += L"line " + std::to_wstring(i) + L"\r\n";
    for (int i = 1; i <= 20; ++i) twentyLines += (i > 1 ? L"\n" : L"") + std::to_wstring(i);
    struct Case {
        std::wstring in, out;
    } cases[] = {
        {std::wstring(512, L'a'), std::wstring(512, L'a')},
        {std::wstring(600, L'a'), std::wstring(512, L'a') + L"..."},
        {twentyLines, twentyLines},
        {thirtyLines, thirtyLines.substr(0, thirtyLines.find(L"line 21") - 2) + L"..."},
        // Lines are counted in the first 512 characters only.
        {std::wstring(510, L'b') + L"\n\n" + twentyLines, std::wstring(510, L'b') + L"\n\n..."},
    };
    for (const Case& c : cases) EXPECT_EQ(BubbleLayout::LimitText(CStringEx(c.in)).str(), c.out) << c.in.size();
}

TEST(BubbleLayout, FileKindsFollowTheExtension) {
    struct Case {
        const wchar_t* name;
        UINT image;
    } cases[] = {
        {L"Plan.DOCX", FileTypeIcons::kDocumentImage},
        {L"C:\\share\\budget.xlsx", FileTypeIcons::kSpreadsheetImage},
        {L"https://s.example/f/slides.pptx?id=3", FileTypeIcons::kPresentationImage},
        {L"folder.v2/README", FileTypeIcons::kGenericImage},
    };
    for (const Case& c : cases) EXPECT_EQ(FileTypeIcons::ImageForFile(c.name), c.image) << c.name;
}

COLORREF ScreenPixel(POINT at) {
    WindowDC screen(nullptr);
    return ::GetPixel(screen.get(), at.x, at.y);
}

TEST_F(BubbleTest, OpensBesideTheItemOnTheSideWithRoomAndPointsItsTailAtIt) {
    struct Case {
        int x, y;
        int side;
        bool tail;
    } cases[] = {
        {300, 400, BubbleLayout::kBubbleRightOfItem, true},
        {screenWidth - 300, 400, BubbleLayout::kBubbleLeftOfItem, true},
        {300, work.bottom - 30, BubbleLayout::kBubbleRightOfItem, true},
        {screenWidth - 300, work.bottom - 10, BubbleLayout::kBubbleLeftOfItem, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Open(FullMeeting(), c.x, c.y));
        const RECT anchor = WindowRect(item.get());
        const RECT shown = WindowRect(bubble.m_hWnd);
        if (c.side == BubbleLayout::kBubbleRightOfItem) {
            EXPECT_EQ(shown.left, anchor.right + 2);
        } else {
            EXPECT_EQ(shown.right, anchor.left);
        }
        EXPECT_LE(shown.bottom, work.bottom);
        EXPECT_EQ(bubble.GetTailSide(), c.side);
        EXPECT_EQ(bubble.HasTail() != FALSE, c.tail);

        // The region holds the tail's tip exactly when there is a tail.
        UniqueHrgn region(::CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(::GetWindowRgn(bubble.m_hWnd, region.get()), ERROR);
        const POINT tip = bubble.GetTailPoints()[2];
        const int nearTip = tip.x + (c.side == BubbleLayout::kBubbleRightOfItem ? 2 : -2);
        EXPECT_EQ(::PtInRegion(region.get(), nearTip, tip.y) != FALSE, c.tail) << c.x << "," << c.y;
        EXPECT_EQ(tip.y + shown.top, anchor.top + 20);
    }
}

TEST_F(BubbleTest, RowsShowTheMeetingWithItsFilesAndTitleMarks) {
    CBubblePara para = FullMeeting();
    para.m_strRecurrence = L"";
    para.m_bRecurring = 1;
    para.m_bServiceRX = para.m_bServiceRY = 1;
    para.m_bHasRecording = 1;
    ASSERT_TRUE(Open(para));
    EXPECT_EQ(Text(CBubbleInfor::kIdTitle), L"Quarterly planning");
    EXPECT_EQ(Text(CBubbleInfor::kIdTime), L"10:00 - 11:00 AM");
    EXPECT_EQ(Text(CBubbleInfor::kIdInvitees), L"Ann; Bob; Cy");
    EXPECT_EQ(Control(CBubbleInfor::kIdRecurrence), nullptr);

    // Each file: an icon and its name on a row of its own.
    std::vector<std::wstring> names;
    int icons = 0;
    for (HWND control = ::GetWindow(bubble.m_hWnd, GW_CHILD); control; control = ::GetWindow(control, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(control) != CBubbleInfor::kIdFile) continue;
        if (::SendMessageW(control, STM_GETICON, 0, 0)) ++icons;
        else names.push_back(testsupport::WindowText(control));
    }
    EXPECT_EQ(icons, 3);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"plan.docx", L"numbers.xlsx", L"notes"}));

    // Recurring wins over nothing, RY over RX; marks start right of the title.
    std::vector<UINT> images;
    for (const auto& mark : bubble.Marks()) images.push_back(mark.image);
    EXPECT_EQ(images, (std::vector<UINT>{CBubbleInfor::kRecurringImage, CBubbleInfor::kServiceRyImage,
                                         CBubbleInfor::kRecordingImage}));
    EXPECT_EQ(bubble.Marks()[0].rect.left, ControlRect(CBubbleInfor::kIdTitle).right + 4);
    EXPECT_EQ(bubble.Marks()[1].rect.left, bubble.Marks()[0].rect.right + 4);
}

TEST_F(BubbleTest, InviteesNoneShowsTheNoInviteesTextOnlyWithoutAZ11Site) {
    for (const wchar_t* z11 : {L"", L"z11.example/site"}) {
        SetZ11SiteName(z11);
        for (const wchar_t* invitees : {L"None", L""}) {
            CBubblePara para = FullMeeting();
            para.m_strInvitees = invitees;
            ASSERT_TRUE(Open(para));
            if (*z11) {
                EXPECT_EQ(Control(CBubbleInfor::kIdInviteesLabel), nullptr) << invitees;
                EXPECT_EQ(Control(CBubbleInfor::kIdInvitees), nullptr) << invitees;
            } else {
                EXPECT_EQ(Text(CBubbleInfor::kIdInvitees), testsupport::ResourceText(CBubbleInfor::kNoInviteesString)) << invitees;
            }
        }
    }
}

TEST_F(BubbleTest, LongTextsAreCutAndTheirTipShowsThem) {
    CBubblePara para = FullMeeting();
    std::wstring agenda;
    for (int i = 1; i <= 30; ++i) agenda += L"Item " + std::to_wstring(i) + L"\r\n";
    para.m_strAgenda = agenda;
    para.m_strHostName = std::wstring(600, L'h');
    ASSERT_TRUE(Open(para));
    const std::wstring shown = Text(CBubbleInfor::kIdAgenda);
    EXPECT_EQ(shown, agenda.substr(0, agenda.find(L"\r\nItem 21")) + L"...");

    // Resting on a cut text shows it whole; on a text that fits, no tip.
    auto tipOver = [&](int id) {
        RECT rect{};
        ::GetWindowRect(Control(id), &rect);
        if (!testsupport::MoveCursorTo(POINT{rect.left + 5, rect.top + 5})) return std::wstring(L"(no cursor)");
        ::SendMessageW(bubble.m_hWnd, WM_TIMER, CBubbleInfor::kTipTimer, 0);
        if (!::IsWindowVisible(bubble.GetToolTip())) return std::wstring();
        return testsupport::WindowText(bubble.GetToolTipTarget());
    };
    if (tipOver(CBubbleInfor::kIdTime) == L"(no cursor)") GTEST_SKIP() << "the cursor cannot be moved here";
    EXPECT_EQ(tipOver(CBubbleInfor::kIdAgenda), shown);
    EXPECT_EQ(tipOver(CBubbleInfor::kIdHost), std::wstring(512, L'h') + L"...");
    EXPECT_EQ(tipOver(CBubbleInfor::kIdTime), L"");
}

TEST_F(BubbleTest, TheButtonAsksTheFrameForTheMeetingAndCloses) {
    struct Case {
        INT32 valid;
        int button;
        std::vector<std::wstring> calls;
    } cases[] = {
        {0, CBubbleInfor::kIdEditButton, {L"EditMeeting key=123456789 notFromOI=1 start=45000.500000"}},
        {1, CBubbleInfor::kIdViewButton, {L"ViewMeetingDetail key=123456789 notFromOI=1 start=45000.500000"}},
        {2, 0, {}},
    };
    for (const Case& c : cases) {
        frame.calls.clear();
        CBubblePara para = FullMeeting();
        para.m_bValid = c.valid;
        ASSERT_TRUE(Open(para));
        EXPECT_EQ(Control(CBubbleInfor::kIdEditButton) != nullptr, c.button == CBubbleInfor::kIdEditButton);
        EXPECT_EQ(Control(CBubbleInfor::kIdViewButton) != nullptr, c.button == CBubbleInfor::kIdViewButton);
        if (!c.button) continue;
        EXPECT_EQ(Text(c.button), testsupport::ResourceText(c.valid ? CBubbleInfor::kViewString : CBubbleInfor::kEditString));
        const HWND button = Control(c.button);
        ::SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        testsupport::PumpUntil([&] { return !bubble.IsWindow(); }, 1000);
        EXPECT_FALSE(bubble.IsWindow());
        EXPECT_EQ(frame.calls, c.calls);
    }
}

TEST_F(BubbleTest, EventsSixAndSeventeenCloseItAndElevenDoesNot) {
    for (UINT code : {VelEvent::CloseBubble, VelEvent::MainFrameHidden, VelEvent::HostDefined11}) {
        ASSERT_TRUE(Open(FullMeeting()));
        FireHostEvent(code);
        testsupport::PumpUntil([&] { return !bubble.IsWindow(); }, 300);
        EXPECT_EQ(bubble.IsWindow(), code == VelEvent::HostDefined11) << code;
        bubble.Close();
        EXPECT_EQ(host.app->Bus().ListenerCount(VelEvent::CloseBubble), 0u) << "unsubscribed with the window";
        EXPECT_EQ(host.app->Bus().ListenerCount(VelEvent::HostDefined11), 0u);
    }
}

TEST_F(BubbleTest, TheFiveSecondTickClosesItOnlyWhenTheCursorIsElsewhere) {
    ASSERT_TRUE(Open(FullMeeting()));
    const RECT anchor = WindowRect(item.get());
    const RECT shown = WindowRect(bubble.m_hWnd);
    struct Step {
        POINT cursor;
        bool stays;
    } steps[] = {
        {{anchor.left + 20, anchor.top + 20}, true},    // on its item
        {{shown.left + 200, shown.top + 60}, true},     // on the bubble
        {{shown.left + 200, shown.bottom + 40}, false},  // elsewhere
    };
    for (const Step& step : steps) {
        if (!testsupport::MoveCursorTo(step.cursor)) GTEST_SKIP() << "the cursor cannot be moved here";
        ::SendMessageW(bubble.m_hWnd, WM_TIMER, CBubbleInfor::kLeaveTimer, 0);
        EXPECT_EQ(bubble.IsWindow(), step.stays) << step.cursor.x << "," << step.cursor.y;
    }
}

TEST_F(BubbleTest, ASecondRequestClosesTheFirstBubble) {
    CBubbleInfor other(&frame);
    ASSERT_TRUE(Open(FullMeeting()));
    const HWND first = bubble.m_hWnd;
    ASSERT_TRUE(other.CreateMyWindow(item.get(), WindowRect(item.get()), FullMeeting()));
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(::FindWindowW(nullptr, CBubbleInfor::kWindowTitle), other.m_hWnd);
}

TEST_F(BubbleTest, TheScreenShowsAWhiteTailAndBodyInAGreyFrameWithTheShadowOutside) {
    for (int x : {300, screenWidth - 300}) {
        ASSERT_TRUE(Open(FullMeeting(), x, 400));
        testsupport::PumpUntil([] { return false; }, 150);
        const RECT shown = WindowRect(bubble.m_hWnd);
        const int inward = bubble.GetTailSide() == BubbleLayout::kBubbleRightOfItem ? 1 : -1;
        const POINT tip{shown.left + bubble.GetTailPoints()[2].x, shown.top + bubble.GetTailPoints()[2].y};
        // The body's side: the outermost pixel of the shape, walking in from the window's edge above the tail.
        UniqueHrgn region(::CreateRectRgn(0, 0, 0, 0));
        ::GetWindowRgn(bubble.m_hWnd, region.get());
        POINT side{inward > 0 ? shown.left : shown.right - 1, tip.y - 30};
        while (!::PtInRegion(region.get(), side.x - shown.left, side.y - shown.top) && ::PtInRect(&shown, side))
            side.x += inward;

        if (ScreenPixel(tip) == CLR_INVALID) GTEST_SKIP() << "the screen cannot be read back here";
        EXPECT_EQ(ScreenPixel(POINT{tip.x + 4 * inward, tip.y}), RGB(255, 255, 255)) << "the tail";
        EXPECT_EQ(ScreenPixel(side), CBubblePaint::kFrameColor) << "the body's side";
        EXPECT_EQ(ScreenPixel(POINT{side.x + inward, side.y}), RGB(255, 255, 255)) << "inside";

        const auto* shadow = dynamic_cast<CZvnUIShadowWnd*>(CWindowBase::FromHandle(bubble.ShadowWindow()));
        ASSERT_TRUE(shadow && shadow->Image().IsValid());
        const RECT area = WindowRect(bubble.ShadowWindow());
        auto alpha = [&](POINT at) { return shadow->Image().Pixel(at.x - area.left, at.y - area.top) >> 24; };
        EXPECT_EQ(alpha(POINT{tip.x + 4 * inward, tip.y}), 0u) << "clear over the tail";
        EXPECT_GT(alpha(POINT{side.x - 2 * inward, side.y}), 0u) << "shading beside the body";
    }
}
}  // namespace
