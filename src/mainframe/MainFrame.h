#pragma once
// The desktop client's main frame: a hidden top-level window that owns the
// module's user interface, joins the host's message loop and turns host
// events, settings events, timers and window messages into refreshes of the
// meeting list and update checks.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <string>

#include "QkMeetingLibs.h"
#include "VelEvents.h"
#include "VelModuleHost.h"
#include "VelUIModule.h"
#include "UniqueHandle.h"
#include "CommandBar.h"
#include "FlatMenu.h"
#include "FrameServices.h"
#include "HelpPopupMenuWnd.h"
#include "SJUISetting.h"
#include "TrayIcon.h"
#include "WindowBase.h"
#include "WindowIcons.h"
#include "ResourceIds.h"

class CMeetingListView;

class CMainFrame : public CWindowBase,
                   public CVelEventListener,
                   public CMessageFilter,
                   public CIdleHandler,
                   public IFrameServices,
                   public ISettingsListener {
public:
    // Also the name of the session-wide single-instance mutex.
    static constexpr const wchar_t* kWindowClass = L"QK_SJ_MainFrame_3DD8BA03-E8BC-421c-961F-4936E19F010F";
    static constexpr DWORD kStyle = 0x06CA0000;    // overlapped, caption, system menu, minimise box, clipping
    static constexpr DWORD kExStyle = WS_EX_APPWINDOW;
    static constexpr UINT kTitleString = IDS_APP_TITLE;
    static constexpr UINT kIconResource = IDI_APP; // the window class's icons
    static constexpr UINT kFrameIconResource = IDI_FRAME;  // the frame's own big and small icons
    static constexpr int kQuitExitCode = 1;
    static constexpr UINT kTrayCallbackMessage = WM_USER + 305;  // 1329
    static constexpr UINT kTrayIconId = 246;

    // WM_CLOSE with this wParam is an exit request rather than the close box.
    static constexpr WPARAM kExitMarker = 0xFFFFFFFF;
    // Other components ask for a refresh with this; wParam is the notification code.
    static constexpr UINT kRefreshRequestMessage = WM_USER + 111;  // 1135
    static constexpr WORD kRefreshCommand = ID_MEETING_REFRESH;
    // Every automatic refresh posts the refresh command with notification code 1.
    static constexpr WPARAM kAutoRefresh = 0x00019C43;

    // Deferred handling of a command line handed over while signed in.
    static constexpr UINT_PTR kCommandLineTimer = 5004;
    static constexpr UINT kCommandLineDelayMs = 300;
    static constexpr UINT_PTR kMeetingChangeTimer = 5005;
    static constexpr UINT_PTR kUpdateCheckTimer = 5006;
    static constexpr UINT kMeetingChangeDelayMs = 5000;
    static constexpr UINT kImmediateUpdateDelayMs = 60000;
    static constexpr DWORD kDefaultUpdateMinutes = 240;
    // An activation refreshes a list older than this.
    static constexpr LONG kActivationRefreshSeconds = 601;

    static constexpr UINT kSyncingTooltipString = IDS_TRAY_SYNCHRONISING;
    static constexpr UINT kUpToDateTooltipString = IDS_TRAY_UP_TO_DATE;
    static constexpr const wchar_t* kSignEventName = L"Event_QK_SIGN";
    // A second instance hands its command line over in a WM_COPYDATA record with this tag.
    static constexpr ULONG_PTR kCopyDataTag = 0xFFFFFFFF;

    // Commands of the command bar and the tray menu.
    enum Command : WORD {
        kCmdStartMeeting = ID_MEETING_START,
        kCmdScheduleMeeting = ID_MEETING_SCHEDULE,
        kCmdViewAllMeetings = ID_MEETING_VIEW_ALL,
        kCmdSettings = ID_ACCOUNT_SETTINGS,
        kCmdAudioVideo = ID_AUDIO_VIDEO_TEST,
        kCmdAbout = ID_APP_ABOUT_QK,
        kCmdTrayLogin = ID_TRAY_SIGN_IN,
        kCmdAccountDetails = ID_ACCOUNT_DETAILS,
        kCmdGotoZorvan = ID_GO_TO_SITE,
        kCmdTrayExit = ID_APP_EXIT_QK,
        kCmdTrayOpen = ID_TRAY_OPEN,
        kCmdLogOut = ID_ACCOUNT_SIGN_OUT,
        kCmdSwitchAccount = ID_ACCOUNT_SWITCH,
        kCmdConnectToMyComputer = ID_CONNECT_TO_COMPUTER,
        kCmdStartPersonalConf = ID_MEETING_PERSONAL_CONF,
        kCmdHelp = ID_HELP_QK,
    };
    static constexpr UINT kCommandBarMenu = IDR_COMMAND_BAR;
    static constexpr UINT kTrayMenu = IDR_TRAY_MENU;
    static constexpr COLORREF kTrayMenuHighlight = 0xD99204;
    static constexpr UINT kSignedOutTooltipString = IDS_TRAY_SIGNED_OUT;
    static constexpr UINT kSignedInBalloonString = IDS_SIGNED_IN_BALLOON;
    static constexpr UINT kSignedInSiteBalloonString = IDS_SIGNED_IN_SITE_BALLOON;
    static constexpr INT_PTR kBalloonDisplayMs = 5000;
    static constexpr const wchar_t* kLoginLibrary = L"qkLogin.dll";

    // The process has one frame; construction makes it the current one, and
    // windows of the module reach the host through it.
    CMainFrame() noexcept;
    ~CMainFrame() override;
    // The process-wide main frame, or null when none exists.
    [[nodiscard]] static CMainFrame* GetInstance() noexcept { return s_instance; }

    // Keeps a counted reference to the host and takes the command to carry out
    // from the host's command line.
    void SetApplication(IVelModuleHost* host);
    [[nodiscard]] IVelModuleHost* GetApplication() const noexcept { return m_host.Get(); }
    [[nodiscard]] const std::wstring& GetCommandLineText() const noexcept { return m_commandLine; }

    // Creates the hidden frame window, registering its class on first use.
    HWND CreateFrame(HINSTANCE resourceLibrary);
    // Drops the frame's window class and the icons it holds (at module end).
    static void UnregisterFrameClass() noexcept;

    // ISettingsListener: the account document pushed by the settings service;
    // the running meetings pushed by the meeting component (a burst of
    // changes ends in one refresh, 5 s after the last).
    void OnAccountSettingsChanged(const wchar_t* accountXml) override;
    void OnMeetingChanged(const wchar_t* meetingsXml) override;
    [[nodiscard]] const std::wstring& LastAccountDocument() const noexcept { return m_lastAccount; }
    [[nodiscard]] const std::wstring& LastMeetingsDocument() const noexcept { return m_lastMeetings; }

    // The web-API synchronisation object, created from qkWebAPI.dll on first
    // request and held; `reset` drops the held one first so that a fresh object
    // serves the next synchronisation. A null `sync` gives E_INVALIDARG.
    HRESULT GetSyncObject(IQKWebApiSync** sync, BOOL reset) override;
    // The meeting list type asked of the web-API component.
    [[nodiscard]] LONG GetListType() const noexcept override { return kMeetingListType; }
    [[nodiscard]] HWND FrameWindow() const noexcept override { return m_hWnd; }
    [[nodiscard]] HIMAGELIST CommandImage(UINT command, int* index) const override {
        return m_commandBar.CommandImages(command, index);
    }
    // Every automatic refresh posts the refresh command with notification code 1.
    void PostRefresh() override;
    static constexpr LONG kMeetingListType = 2;

    // Signed in, and the login window is not on screen.
    BOOL IsSignedIn();
    void HideWindow();
    // Takes the meeting list back to today when signed in.
    void MeetingListGoToday();
    // The tray tooltip follows a synchronisation's start and end.
    void OnTrayAnimate(BOOL syncing) override;

    // Schedules an update check: in a minute when `immediate`, else one period
    // after the last one, and not again within the period.
    void FireCheckforUpdate(BOOL immediate);
    // Starts qkUpdate.exe beside the module, without waiting for it.
    void DoCheckforUpdate();
    // The period between update checks: "UpdateDurationByMinu" read afresh.
    [[nodiscard]] static DWORD ReadUpdateCheckPeriod();
    // The period in use (read once per process), or 0 before the first schedule.
    [[nodiscard]] static DWORD UpdateCheckPeriod() noexcept;

    // Whether the running meetings of this session include `meetingKey`:
    // kMeetingRunning, kMeetingNotRunning when others run, 0 when none do or
    // they cannot be read. `flag` is set to 1 by a meeting of user type "*".
    static LONG QueryLocalMeetingStatus(const wchar_t* meetingKey, LONG* flag);
    LONG LocalMeetingStatus(const wchar_t* meetingKey, LONG* flag) override {
        return QueryLocalMeetingStatus(meetingKey, flag);
    }

    // The login module the frame hosts and the library it came from. The frame
    // holds both until it is destroyed; replacing them unloads the old pair.
    void SetLoginModule(IVelUIModule* module, UniqueHmodule library);
    [[nodiscard]] IVelUIModule* GetLoginModule() const noexcept { return m_loginModule.Get(); }
    [[nodiscard]] IVelUIModule* GetSettingModule() const noexcept { return m_settingModule.Get(); }

    // Shows the frame with the day's meetings, or, for an account without the
    // Snapjoin feature, only tells the user through a balloon that it runs.
    void OpenMainFrame() override;
    // Loads the login module when none is held, and shows it when `show`.
    void OpenLoginModule(BOOL show);
    // Uninitialises, releases and frees the login module when `force` or
    // when it reports itself closed.
    void UnloadLoginModule(BOOL force);
    // Opens the settings module for the account's site type, or brings the
    // open one forward.
    void OpenSetting();
    void UnloadSettingModule(BOOL force);
    // The user must sign in again; `code` says why.
    void SignInAgainWithError(INT_PTR code, INT_PTR second, INT_PTR third) override;
    void RequestReSignin() override;
    // Whether the host was started by the system at logon.
    BOOL IsStartByAutoRun();
    // Carries out the handed-over command line, then forgets it.
    void HandleCmdLine();

    // Meeting operations, also asked for by the meeting items and the phone bridge.
    HRESULT StartInstantMeeting(BSTR phoneNumber) override;
    HRESULT StartMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR topic, LONG value) override;
    HRESULT JoinMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR password, BSTR site, LONG value,
                        BOOL passwordRequired) override;
    HRESULT EditMeeting(BSTR meetingKey, BOOL notFromOI, DATE start) override;
    HRESULT ViewMeetingDetail(BSTR meetingKey, BOOL notFromOI, DATE start) override;
    HRESULT OnConnectToMyComputer();

    // The time-zone record a WM_TIMECHANGE compares with; taken at construction.
    [[nodiscard]] const TIME_ZONE_INFORMATION& TimeZoneSnapshot() const noexcept { return m_timeZone; }
    void SetTimeZoneSnapshot(const TIME_ZONE_INFORMATION& zone) noexcept { m_timeZone = zone; }
    [[nodiscard]] DATE LastRefreshTime() const noexcept { return m_lastRefreshTime; }

    // CVelEventListener
    HRESULT HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) override;
    // CMessageFilter
    BOOL PreTranslateMessage(MSG* msg) override;
    // CIdleHandler
    BOOL OnIdle() override;

    BEGIN_MSG_MAP(CMainFrame)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_ACTIVATEAPP, OnActivateApp)
        MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
        MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        COMMAND_ID_HANDLER(kCmdConnectToMyComputer, OnCommand)
        MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
        MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        NOTIFY_CODE_HANDLER(NM_CUSTOMDRAW, OnCommandBarCustomDraw)
        COMMAND_ID_HANDLER(kCmdStartMeeting, OnCommand)
        COMMAND_ID_HANDLER(kRefreshCommand, OnCommand)
        COMMAND_ID_HANDLER(kCmdScheduleMeeting, OnCommand)
        COMMAND_ID_HANDLER(kCmdViewAllMeetings, OnCommand)
        COMMAND_ID_HANDLER(kCmdSettings, OnCommand)
        COMMAND_ID_HANDLER(kCmdAbout, OnCommand)
        COMMAND_ID_HANDLER(kCmdHelp, OnCommand)
        COMMAND_ID_HANDLER(kCmdGotoZorvan, OnCommand)
        MESSAGE_HANDLER(kTrayCallbackMessage, OnTrayNotify)
        COMMAND_ID_HANDLER(kCmdTrayLogin, OnCommand)
        COMMAND_ID_HANDLER(kCmdTrayOpen, OnCommand)
        COMMAND_ID_HANDLER(kCmdTrayExit, OnCommand)
        COMMAND_ID_HANDLER(kCmdLogOut, OnCommand)
        COMMAND_ID_HANDLER(kCmdSwitchAccount, OnCommand)
        COMMAND_ID_HANDLER(kCmdStartPersonalConf, OnCommand)
        MESSAGE_HANDLER(WM_COPYDATA, OnCopyDataMessage)
        MESSAGE_HANDLER(WM_TIMECHANGE, OnSysTimeChanged)
        MESSAGE_HANDLER(kRefreshRequestMessage, OnRefreshMeetingList)
        MESSAGE_HANDLER(WM_COMMAND, OnCommandBarCommand)
        MESSAGE_HANDLER(TaskbarCreatedMessage(), OnTaskbarCreated)
    END_MSG_MAP()

    // The command-bar menu follows the account and the settings window;
    // `reload` takes the menu afresh from the resource library first.
    void UpdateMenuState(BOOL reload);
    [[nodiscard]] CMeetingListView* ListView() const noexcept { return m_listView.get(); }
    [[nodiscard]] HWND CommandBarWindow() const noexcept { return m_commandBar.Window(); }
    [[nodiscard]] HMENU CommandBarMenu() const noexcept { return m_commandBar.Menu(); }
    [[nodiscard]] HWND RebarWindow() const noexcept { return m_rebar.get(); }
    [[nodiscard]] SIZE FrameSize() const noexcept { return {m_frameWidth, m_frameHeight}; }
    static constexpr UINT kRebarId = 0xE800;
    static constexpr DWORD kRebarStyle = 0x56002640;
    static constexpr UINT kAutoRunBalloonString = IDS_AUTORUN_BALLOON;
    static constexpr WORD kCmdEditMeeting = ID_ITEM_EDIT;
    // Distance of the frame from the work area's right and bottom edges.
    static constexpr int kPlacementRight = 40;
    static constexpr int kPlacementBottom = 5;

    // Shut-down of the phone bridge: a signed-in bridge signs off first, and
    // the frame waits this long for it.
    static constexpr DWORD kPhoneLogoffWaitMs = 10000;
    static void ReleaseInstance();

    // Broadcast to top-level windows when the shell (re)starts its taskbar.
    static UINT TaskbarCreatedMessage() noexcept;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnActivateApp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysTimeChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRefreshMeetingList(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTaskbarCreated(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnInitMenuPopup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommandBarCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommandBarCustomDraw(int, LPNMHDR header, BOOL& handled);

    // The meetings window: command bar, rebar, list view and placement.
    BOOL CreateContents();
    void LayoutContents();
    // Shows the list view as the frame's client, activates and lays out.
    void BringUpContents();
    void OnSignInSynchronized(INT_PTR first, const RECT* place);
    void OnRefresh(UINT code);
    // Nothing is shown and nothing synchronises until the next sign-in.
    void ClearMeetingList();

    LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& handled);
    LRESULT OnTrayNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCopyDataMessage(UINT, WPARAM, LPARAM, BOOL&);

    // Icon IDI_FRAME of the resource library, in the system's large and small sizes.
    void SetFrameIcons();
    void PostCommand(WORD id) const;
    void ShowTrayMenu();
    void OnCopyData(const COPYDATASTRUCT* record);
    void OnStartMeeting();
    void OnStartPersonalConf();
    void OnScheduleMeeting();
    void OnViewAllMeetings();
    void OnAbout();
    void OnHelp();
    void OnGotoZorvan();
    void OnTrayOpen();
    void OnTrayLogin();
    void OnTrayExit();
    void OnLogOut();
    void OnSwitchAccount();
    // The window that shows a modal dialog (the settings window first, then
    // the frame), or null. Sign-out and account switch wait for it.
    HWND BusyWindow() const;
    // Tells the user that the module runs and is signed in.
    void FireSignedInBalloon();

    static inline CMainFrame* s_instance = nullptr;

    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    // The library is declared first so that it is freed after the module
    // object that lives in it has been released.
    UniqueHmodule m_settingLibrary;
    Microsoft::WRL::ComPtr<IVelUIModule> m_settingModule;
    UniqueHmodule m_loginLibrary;
    Microsoft::WRL::ComPtr<IVelUIModule> m_loginModule;
    Microsoft::WRL::ComPtr<IQKWebApiSync> m_spSync;
    std::unique_ptr<CMeetingListView> m_listView;
    CCommandBar m_commandBar;
    UniqueHwnd m_rebar;
    HACCEL m_accelerators = nullptr;  // owned by the resource library
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    CHelpPopupMenuWnd m_helpPopup;
    CTrayIcon m_trayIcon;
    // Read by the menu drawing while the tray menu is tracked.
    LONG m_trayMenuOpen = 0;
    TIME_ZONE_INFORMATION m_timeZone{};
    std::wstring m_commandLine;
    DATE m_lastRefreshTime = 0.0;  // 0.0: never refreshed
    DWORD m_lastUpdateCheckTick = 0;
    CWindowIcons m_icons;
    std::wstring m_lastAccount;
    std::wstring m_lastMeetings;
};
