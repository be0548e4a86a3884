// The frame's user commands: meeting operations and pages of the suite's
// meetings library, and the command dispatch of the command bar and tray menu.
#include <algorithm>
#include <initializer_list>

#include "ComHolders.h"
#include "Trace.h"
#include "DlgInputPwd.h"
#include "MainFrame.h"
#include "MeetingLibrary.h"
#include "MeetingResultCodes.h"
#include "HostEvents.h"
#include "SJUISetting.h"

namespace {
using Operations = CMeetingLibObject<IQKMeetingOperations>;
using Pages = CMeetingLibObject<IQKMeetingPages>;

constexpr LONG kInstantMeetingCaller = 2;
constexpr LONG kMainWindowCaller = 0;
constexpr LONG kResultFlagInstant = 1;
constexpr LONG kResultFlag = 0;
constexpr LONG kHelpTopic = 5;

// The library's outcome of its last operation; 0 when it cannot tell.
LONG ResultCode(IQKMeetingOperations* operations, LONG flag) {
    LONG code = 0;
    if (FAILED(operations->GetResult(&code, nullptr, flag))) {
        TraceText(8, "CMainFrame: the meetings library gave no result for the operation");
        return 0;
    }
    return code;
}

// Only one remote-access session may be set up at a time in the process.
bool g_connectingToMyComputer = false;
}  // namespace

void CMainFrame::PostCommand(WORD id) const {
    if (IsWindow()) ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

LRESULT CMainFrame::OnCommand(WORD notifyCode, WORD id, HWND, BOOL&) {
    try {
        switch (id) {
        case kCmdStartMeeting: OnStartMeeting(); break;
        case kRefreshCommand: OnRefresh(notifyCode); break;
        case kCmdScheduleMeeting: OnScheduleMeeting(); break;
        case kCmdViewAllMeetings: OnViewAllMeetings(); break;
        case kCmdSettings: OpenSetting(); break;
        case kCmdAbout: OnAbout(); break;
        case kCmdHelp: OnHelp(); break;
        case kCmdGotoZorvan: OnGotoZorvan(); break;
        case kCmdConnectToMyComputer: OnConnectToMyComputer(); break;
        case kCmdTrayLogin: OnTrayLogin(); break;
        case kCmdTrayOpen: OnTrayOpen(); break;
        case kCmdTrayExit: OnTrayExit(); break;
        case kCmdLogOut: OnLogOut(); break;
        case kCmdSwitchAccount: OnSwitchAccount(); break;
        case kCmdStartPersonalConf: OnStartPersonalConf(); break;
        default: break;
        }
    } catch (...) {
        TraceText(8, "CMainFrame::OnCommand failed");
    }
    return 0;
}

void CMainFrame::OnStartMeeting() {
    CAutoFunTrace trace("CMainFrame::OnStartMeeting");
    StartInstantMeeting(nullptr);
}

HRESULT CMainFrame::StartInstantMeeting(BSTR phoneNumber) {
    CAutoFunTrace trace("CMainFrame::StartInstantMeeting");
    CWaitCursor wait;
    Operations operations(CLSID_QKMeetingOperations);
    if (!operations) return E_FAIL;
    const HRESULT hr = operations->StartInstantMeeting(m_hWnd, kInstantMeetingCaller, phoneNumber, 0);
    const LONG code = ResultCode(operations.operator->(), kResultFlagInstant);
    if (MeetingResult::IsOneOf(code, MeetingResult::kInstantSignInAgain)) SignInAgainWithError(code, 0, 0);
    FireCheckforUpdate(FALSE);
    return hr;
}

HRESULT CMainFrame::StartMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR topic, LONG value) {
    CAutoFunTrace trace("CMainFrame::StartMeeting");
    CWaitCursor wait;
    Operations operations(CLSID_QKMeetingOperations);
    if (!operations) return E_FAIL;
    operations->StartScheduledMeeting(m_hWnd, meetingKey, topic, value, meetingKey2, kMainWindowCaller, nullptr,
                                      nullptr);
    const LONG code = ResultCode(operations.operator->(), kResultFlag);
    if (MeetingResult::IsOneOf(code, MeetingResult::kStartSignInAgain)) SignInAgainWithError(code, 0, 0);
    FireCheckforUpdate(FALSE);
    return S_OK;
}

HRESULT CMainFrame::JoinMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR password, BSTR site, LONG value,
                                BOOL passwordRequired) {
    CAutoFunTrace trace("CMainFrame::JoinMeeting");
    CWaitCursor wait;
    Operations operations(CLSID_QKMeetingOperations);
    if (!operations) return E_FAIL;
    Bstr entered;
    if (::SysStringLen(password) == 0 && passwordRequired) {
        CDlgInputPwd dialog;
        if (dialog.DoModal(m_hWnd) != IDOK) return S_FALSE;
        entered.reset(::SysAllocString(dialog.Password().c_str()));
        password = entered.get();
    }
    Bstr accountSite;
    if (::SysStringLen(site) == 0) {
        CSJUISetting* setting = CSJUISetting::Existing();
        if (setting && setting->IsZ11SiteNameEmpty()) {
            CStringEx name;
            setting->GetSiteName(name);
            accountSite.reset(::SysAllocString(name.c_str()));
            site = accountSite.get();
        }
    }
    const HRESULT hr = operations->JoinMeeting(m_hWnd, meetingKey, password, site, value, meetingKey2,
                                               kMainWindowCaller, nullptr, nullptr);
    const LONG code = ResultCode(operations.operator->(), kResultFlag);
    if (MeetingResult::IsOneOf(code, MeetingResult::kJoinSignInAgain)) SignInAgainWithError(code, 0, 0);
    return hr;
}

void CMainFrame::OnStartPersonalConf() {
    CAutoFunTrace trace("CMainFrame::OnStartPersonalConf");
    CWaitCursor wait;
    Operations operations(CLSID_QKMeetingOperations);
    if (!operations) return;
    operations->StartPersonalConference(m_hWnd);
    const LONG code = ResultCode(operations.operator->(), kResultFlag);
    if (code == MeetingResult::kStarted) return;
    if (MeetingResult::IsOneOf(code, MeetingResult::kPersonalSignInAgain)) {
        SignInAgainWithError(code, 0, 0);
    } else if (IsSignedIn()) {
        PostRefresh();
    }
}

void CMainFrame::OnScheduleMeeting() {
    CAutoFunTrace trace("CMainFrame::OnScheduleMeeting");
    {
        Pages pages(CLSID_QKMeetingPages);
        if (pages) pages->ScheduleMeeting(m_hWnd);
    }
    FireCheckforUpdate(FALSE);
}

void CMainFrame::OnViewAllMeetings() {
    CAutoFunTrace trace("CMainFrame::OnViewAllMeetings");
    CStringEx address;
    if (CSJUISetting* setting = CSJUISetting::Existing()) setting->GetMeetingsPageUrl(address);
    Pages pages(CLSID_QKMeetingPages);
    if (!pages) return;
    Bstr text(address.c_str());
    pages->OpenAddress(m_hWnd, text.get());
}

void CMainFrame::OnAbout() {
    CAutoFunTrace trace("CMainFrame::OnAbout");
    // Before sign-in the box belongs to the sign-in window the user looks at.
    HWND owner = m_hWnd;
    if (!IsSignedIn() && m_loginModule) owner = m_loginModule->GetModuleWindow();
    Pages pages(CLSID_QKMeetingPages);
    if (pages) pages->ShowAboutBox(owner);
}

void CMainFrame::OnHelp() {
    CAutoFunTrace trace("CMainFrame::OnHelp");
    Pages pages(CLSID_QKMeetingPages);
    if (pages) pages->ShowHelp(kHelpTopic);
}

void CMainFrame::OnGotoZorvan() {
    CAutoFunTrace trace("CMainFrame::OnGotoZorvan");
    Pages pages(CLSID_QKMeetingPages);
    if (pages) pages->GoToMeetingSite();
}

HRESULT CMainFrame::OnConnectToMyComputer() {
    CAutoFunTrace trace("CMainFrame::OnConnectToMyComputer");
    if (g_connectingToMyComputer) return E_FAIL;
    g_connectingToMyComputer = true;
    HRESULT hr = E_FAIL;
    {
        Pages pages(CLSID_QKMeetingPages);
        if (pages) hr = pages->ConnectToMyComputer(m_hWnd);
    }
    g_connectingToMyComputer = false;
    return hr;
}
