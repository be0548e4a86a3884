#include "support/CommandFixture.h"

#include <wrl/client.h>

#include <algorithm>
#include <cwchar>

#include "Clock.h"
#include "QkServiceInterfaces.h"
#include "ComHolders.h"
#include "ModuleState.h"
#include "PopupMenu.h"
#include "SJUISetting.h"

using Microsoft::WRL::ComPtr;

namespace commandtest {
namespace {
constexpr UINT kBusCodes[] = {VelEvent::SignInSynchronized, VelEvent::SignInError, VelEvent::UserExit,
                              VelEvent::SignInAgain,        VelEvent::MainFrameCreated, VelEvent::SignedOut,
                              VelEvent::AccountSwitch,      VelEvent::TrayBalloon,  VelEvent::TrayTooltip,
                              VelEvent::TrayImageState};
HMODULE g_resources = nullptr;
TrackedMenu g_tracked;
UINT g_choice = 0;
}  // namespace

std::vector<UINT> TrackedMenu::Ids() const {
    std::vector<UINT> ids;
    for (const MenuItem& item : items)
        if (item.id) ids.push_back(item.id);
    return ids;
}

bool TrackedMenu::Has(UINT id) const {
    return std::any_of(items.begin(), items.end(), [id](const MenuItem& item) { return item.id == id; });
}

std::wstring Account(int siteType, bool snapjoin, bool deskreach, const std::wstring& z11) {
    return L"<QuillkitSettings><Account><SiteName>https://acme.example.com/acme</SiteName><UserName>ann</UserName>"
           L"<Z11SiteName>" + z11 + L"</Z11SiteName><DeskreachEnable>" + (deskreach ? L"1" : L"0") +
           L"</DeskreachEnable><SnapjoinEnable>" + (snapjoin ? L"1" : L"0") + L"</SnapjoinEnable><SiteType>" +
           std::to_wstring(siteType) + L"</SiteType></Account></QuillkitSettings>";
}

void SetRunningMeetings(const wchar_t* meetingsXml) {
    Microsoft::WRL::ComPtr<IQKSuiteState> state;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_QKMeetingComponent, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state)));
    ASSERT_EQ(S_OK, state->SetRunningMeetings(Bstr(meetingsXml).get()));
}

std::wstring HandleText(HWND window) {
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"0x%llX", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
    return text;
}

void CommandTest::SetUpTestSuite() {
    g_resources = ::LoadLibraryExW((testsupport::BinFolder() + L"..\\qksjres.dll").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE);
    ModuleState::SetResourceInstance(g_resources);
    PopupMenu::SetTracker([](HMENU menu, UINT flags, int x, int y, HWND) -> UINT {
        g_tracked = {};
        g_tracked.flags = flags;
        g_tracked.at = {x, y};
        // The thread's active window, not the session's foreground: test programs
        // running beside this one activate windows of their own at any time.
        wchar_t active[64] = {};
        ::GetClassNameW(::GetActiveWindow(), active, 64);
        g_tracked.activeClass = active;
        g_tracked.defaultItem = ::GetMenuDefaultItem(menu, FALSE, 0);
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            const UINT id = ::GetMenuItemID(menu, i);
            const bool grayed = (::GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) != 0;
            g_tracked.items.push_back({id == static_cast<UINT>(-1) ? 0 : id, grayed});
        }
        return g_choice;
    });
}

void CommandTest::TearDownTestSuite() {
    PopupMenu::SetTracker(nullptr);
    ModuleState::SetResourceInstance(nullptr);
    if (g_resources) ::FreeLibrary(g_resources);
}

void CommandTest::SetUp() {
    ASSERT_TRUE(g_resources);
    ASSERT_TRUE(service.Loaded() && service.RegisterServer);
    meetingLib.RemoveAll();
    userSettings.RemoveAll();
    loginSettings.SetDword(L"AutoSignIn", 0);
    // Long after any earlier update check, so that commands schedule the next one.
    static const DWORD kTick = 0x40000000;
    Clock::PinTickCount(&kTick);
    FrameTest::SetUp();
    for (UINT code : kBusCodes) host.app->Bus().Subscribe(code, &listener);
    UseAccount(Account(1, true, true));
}

void CommandTest::TearDown() {
    for (UINT code : kBusCodes) host.app->Bus().Unsubscribe(code, &listener);
    FrameTest::TearDown();
    Clock::PinTickCount(nullptr);
    CSJUISetting::ReleaseInstance();
    // A close request of the host leaves a quit message for this thread.
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void CommandTest::UseAccount(const std::wstring& accountXml) {
    ComPtr<IQKSuiteState> state;
    ASSERT_EQ(S_OK, ::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state)));
    ASSERT_EQ(S_OK, state->SetAccountDocument(Bstr(accountXml).get()));
    CSJUISetting::ReleaseInstance();
    ASSERT_TRUE(CSJUISetting::GetInstance()->Initialize());
}

TrackedMenu CommandTest::RightClickTray(UINT choice) {
    g_tracked = {};
    g_choice = choice;
    ::SendMessageW(frame->m_hWnd, CMainFrame::kTrayCallbackMessage, CMainFrame::kTrayIconId, WM_RBUTTONUP);
    return g_tracked;
}

std::vector<std::wstring> CommandTest::TakeCalls() {
    const std::vector<std::wstring> all = callLog.Lines();
    std::vector<std::wstring> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(callsTaken, all.size())),
                                    all.end());
    callsTaken = all.size();
    return fresh;
}

void CommandTest::Command(WORD id) const { ::SendMessageW(frame->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
}  // namespace commandtest
