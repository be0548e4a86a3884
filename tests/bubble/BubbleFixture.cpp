#include "BubbleFixture.h"

#include "HostEvents.h"
#include "support/SettingsServiceAccount.h"
#include "support/TestSupport.h"

namespace bubbletest {
namespace {
testsupport::SettingsServiceAccount* g_service = nullptr;
}

void BubbleTest::SetUpTestSuite() { g_service = new testsupport::SettingsServiceAccount(testsupport::BinFolder()); }

void BubbleTest::TearDownTestSuite() {
    delete g_service;
    g_service = nullptr;
}

void BubbleTest::SetUp() {
    ASSERT_TRUE(g_service && g_service->Registered());
    SetEventHost(host.app);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    SetZ11SiteName(L"");
}

void BubbleTest::TearDown() {
    bubble.Close();
    item.reset();
    testsupport::PumpPending();
    SetEventHost(nullptr);
}

CBubblePara BubbleTest::FullMeeting() {
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

bool BubbleTest::Open(const CBubblePara& para, int centerX, int centerY) {
    const RECT anchor{centerX - 100, centerY - 20, centerX + 100, centerY + 20};
    // A control that answers hit tests, as an item does (a static would let the cursor through).
    item.reset(::CreateWindowExW(WS_EX_TOOLWINDOW, L"BUTTON", L"item", WS_POPUP | WS_VISIBLE | BS_PUSHBUTTON,
                                 anchor.left, anchor.top, 200, 40, nullptr, nullptr, nullptr, nullptr));
    if (!item || !bubble.CreateMyWindow(item.get(), anchor, para)) return false;
    ::UpdateWindow(bubble.m_hWnd);
    return true;
}

void BubbleTest::SetZ11SiteName(const wchar_t* name) {
    ASSERT_TRUE(g_service->Use(std::wstring(L"<Settings><Account><SiteName>s.example</SiteName><Z11SiteName>") +
                               name + L"</Z11SiteName></Account></Settings>"));
}

RECT BubbleTest::ControlRect(int id) const {
    RECT rect = WindowRect(Control(id));
    ::MapWindowPoints(nullptr, bubble.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT BubbleTest::WindowRect(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}
}  // namespace bubbletest
