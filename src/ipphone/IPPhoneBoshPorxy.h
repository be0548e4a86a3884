#pragma once
// Keeps the desktop client signed in to the user's instant-messaging account
// so that the desk phone can reach it. The messaging protocol is the suite's
// "bosh.dll"; this hidden dialog owns its client, retries failed sign-ins
// with a growing delay, and hands arriving requests to the command handler.
//
// Threads: the client calls the sink on a thread of its own. Those callbacks
// only copy what they are given, update the atomic flags and post to the
// window; timers, the client's operations, the commands and the dialogs all
// run on the window's thread. The one exception is the end of a sign-off
// during shut-down: the window's thread is then blocked waiting for it, so
// the callback signals the log-off event itself.
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "BoshClient.h"
#include "DLLHandle.h"
#include "UniqueHandle.h"
#include "DialogBase.h"
#include "FrameServices.h"
#include "IPPhoneCommandHandler.h"
#include "IPPhoneDefs.h"
#include "ResourceIds.h"

class CIPPhoneBoshPorxy final : public CDialogBase,
                                public bosh::IBOSHClientSink,
                                public IPPhone::IIPPhoneMessageSender {
public:
    enum { IDD = IDD_PHONE_CONNECTION };
    static constexpr const wchar_t* kClientLibrary = L"bosh.dll";
    static constexpr UINT kReloginTickMs = 1000;

    // The window's own messages, posted from the client's thread.
    enum : UINT {
        kMsgLoggedIn = WM_APP + 0x300,  // a sign-in succeeded: the back-off is over
        kMsgMessageArrived,             // bodies wait in the arrival queue
        kMsgLoginAgain,                 // a forced sign-off ended: sign in with the new account
        kMsgMeetingReturn,              // meeting lists wait for the current command
    };

    // The process has at most one bridge. Creates it with its window owned by
    // `owner` (the main frame) when there is none; null when the messaging
    // client cannot be loaded or created.
    static CIPPhoneBoshPorxy* CreateInstance(HWND owner, IFrameServices* frame);
    [[nodiscard]] static CIPPhoneBoshPorxy* Instance() noexcept;
    // Releases the client (no callback comes after this), destroys the window
    // and deletes the bridge.
    static void DeleteInstance() noexcept;

    // Where the random numbers of the back-off and of the fallback resource
    // come from; null puts the default generator back.
    using RandomSource = std::function<unsigned()>;
    static void SetRandomSource(RandomSource source);

    explicit CIPPhoneBoshPorxy(IFrameServices* frame) noexcept;
    ~CIPPhoneBoshPorxy() override;

    // 1 when the client library is loaded and a client exists, else 0.
    int InitBoshClient();
    // Signs in with the stored account.
    void BoshLoginIn();
    void BoshLogOff();
    void BoshRelease();

    // The messaging-account document of the suite's service.
    void onGetIMAccount(const wchar_t* accountXml);
    // A meetings-changed event's document, for the command in progress.
    void OnMeetingReturn(const wchar_t* meetingsXml);
    // Asks the suite's service for the account again (a password was refused).
    void ReloginForPSWError();

    // Shut-down: no sign-in follows the next sign-off, whose end signals
    // LogoffEvent() instead; then the sign-off is asked for.
    void BeginReleaseLogOff();
    [[nodiscard]] HANDLE LogoffEvent() const noexcept { return m_logoffEvent.get(); }

    // bosh::IBOSHClientSink, called on the client's thread.
    int onLogin() override;
    int onEvent(int event, int detail) override;
    int onMessageReceived(const char* sender, const char* body) override;
    int onError(int code, int detail) override;
    int onReady() override;

    // IPPhone::IIPPhoneMessageSender: an answer to the phone, through the client.
    void SendChatMessage(const char* receiver, const char* body) override;

    // State, as the frame and tests see it.
    [[nodiscard]] bool LoggedIn() const noexcept { return m_bLoggedIn; }
    [[nodiscard]] bool LoginInProgress() const noexcept { return m_bLoginInProgress; }
    [[nodiscard]] bool SessionStarted() const noexcept { return m_bSessionStarted; }
    [[nodiscard]] bool ReloginPending() const noexcept { return m_bReloginPending; }
    [[nodiscard]] int BackoffDelay() const noexcept { return m_nBackoffDelay; }
    [[nodiscard]] int BackoffBase() const noexcept { return m_nBackoffBase; }
    [[nodiscard]] int Countdown() const noexcept { return m_nCountdown; }
    [[nodiscard]] const IPPhone::BoshAddress& OwnAddress() const noexcept { return m_own; }
    [[nodiscard]] const std::string& BoshUrl() const noexcept { return m_strBoshUrl; }
    [[nodiscard]] HWND OwnerWindow() const noexcept { return m_hOwner; }
    [[nodiscard]] CIPPhoneCommandHandler& Commands() noexcept { return m_commands; }

    BEGIN_MSG_MAP(CIPPhoneBoshPorxy)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(IPPhone::MSG_AP_BOSHLOGOFF, OnBoshLogoff)
        MESSAGE_HANDLER(IPPhone::MSG_AP_BOSHRELOGIN, OnBoshRelogin)
        MESSAGE_HANDLER(kMsgLoggedIn, OnLoggedIn)
        MESSAGE_HANDLER(kMsgMessageArrived, OnMessageArrived)
        MESSAGE_HANDLER(kMsgLoginAgain, OnLoginAgain)
        MESSAGE_HANDLER(kMsgMeetingReturn, OnMeetingReturnMessage)
        if (m_commands.ProcessCommandMessage(uMsg, wParam, lParam, lResult)) return TRUE;
    END_MSG_MAP()

private:
    struct Arrival {
        std::string sender;
        std::string body;
        bool hasBody;
    };

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnTimer(UINT, WPARAM timer, LPARAM, BOOL& handled);
    LRESULT OnBoshLogoff(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnBoshRelogin(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLoggedIn(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMessageArrived(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLoginAgain(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeetingReturnMessage(UINT, WPARAM, LPARAM, BOOL&);

    void ResetBackoff();
    void Post(UINT message) const noexcept;
    // "QKClient" and the first adapter's address, or random capitals.
    static std::string MakeResource();
    static unsigned Random();

    bosh::IBOSHClient* m_pClient = nullptr;
    PFN_CreateBOSHClient m_pCreateBOSHClient = nullptr;
    PFN_ReleaseBOSHClient m_pReleaseBOSHClient = nullptr;
    IPPhone::BoshAddress m_own;
    std::string m_strPassword;
    std::string m_strBoshUrl;
    HWND m_hOwner = nullptr;
    IFrameServices* m_frame;
    CIPPhoneCommandHandler m_commands;
    // Window thread only.
    int m_nBackoffDelay = 0;
    int m_nBackoffBase = 0;
    int m_nCountdown = 0;
    std::deque<std::wstring> m_meetingLists;
    CDLLHandle m_library;
    UniqueKernelHandle m_logoffEvent;

    std::atomic<bool> m_bReloginPending{false};
    std::atomic<bool> m_bLoggedIn{false};
    std::atomic<bool> m_bReleasePending{false};
    std::atomic<bool> m_bSessionStarted{false};
    std::atomic<bool> m_bLoginInProgress{false};

    // What the client's thread posts to; cleared when the window goes.
    std::atomic<HWND> m_hPostTarget{nullptr};
    // Filled by the client's thread, emptied by the window's.
    std::mutex m_arrivalLock;
    std::deque<Arrival> m_arrivals;
};
