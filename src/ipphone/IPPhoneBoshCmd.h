#pragma once
// One request from the user's desk phone: parsed from its XML, confirmed by
// the user where needed, carried out through the suite's meetings library and
// answered with a response XML sent back to the phone's address.
//
// Every operation but Start runs on the command window's thread; the command
// only posts messages to that window to move itself on.
#include <windows.h>

#include <functional>
#include <string>

#include "StringEx.h"
#include "FrameServices.h"
#include "IPPhoneDefs.h"

struct IQKMeetingOperations;

struct IPPhoneRequest {
    IPPhone::BoshAddress sender;
    CStringEx Command;
    CStringEx Sequence;
    LONG HostType = 0;
    CStringEx MeetingKey;
    CStringEx SiteUrl;
    CStringEx MeetingTopic;
    CStringEx TelAttndeeID;
    LONG HeadCount = 0;
    CStringEx Password;
    CStringEx PhoneNumber;
};

struct IPPhoneResponse {
    IPPhone::BoshAddress receiver;
    CStringEx Command;
    CStringEx Sequence;
    CStringEx MeetingKey;
    CStringEx MeetPassword;
    LONG Result = 0;
};

class CIPPhoneBoshCmd {
public:
    // Opens the user's confirmation for a request of `type` (the dialog of
    // this library unless a test puts another in its place) and answers with
    // the window of the dialog (null when none could be opened). The dialog
    // answers by posting MSG_AP_BOSHCONFIRMOK, ..NO or ..TIMEOUT to `notify`.
    using ConfirmDialogOpener = std::function<HWND(int type, HWND notify, const std::wstring& topic)>;
    // Null puts the default back.
    static void SetConfirmDialogOpener(ConfirmDialogOpener opener);

    // How a command name is treated; type -1 and message MSG_AP_BOSHCMDCANCEL
    // for "CancelQKDialog" and unknown names.
    struct CommandInfo {
        const wchar_t* response;
        int dialogType;
        UINT message;
    };
    static CommandInfo LookUp(const wchar_t* command);

    // `frame` carries out what the command needs of the main frame (may be null).
    explicit CIPPhoneBoshCmd(IFrameServices* frame) noexcept : m_frame(frame) {}
    virtual ~CIPPhoneBoshCmd();
    CIPPhoneBoshCmd(const CIPPhoneBoshCmd&) = delete;
    CIPPhoneBoshCmd& operator=(const CIPPhoneBoshCmd&) = delete;

    // `parsedRoot`: the request's root element when the caller has parsed it
    // already (a parse costs more than everything else Start does).
    void Start(const wchar_t* xmlCommand, IPPhone::IIPPhoneMessageSender* client, HWND commandWindow,
               const IPPhone::BoshAddress& sender, IUnknown* parsedRoot = nullptr);
    // Posts the command's own message (or the cancel for other names).
    void onMessageReceived();

    LONG StartInstantMeeting();
    LONG StartScheduledMeeting();
    LONG StartScheduledMeetingCallback();
    LONG JoinMeeting();
    LONG JoinMeetingCallback();

    void OnMeetingReturn(const wchar_t* meetingsXml);
    void SendResponse(LONG code);
    void SendResponseInprogress();
    void ShowConfirmDialog();
    void CloseConfirmDialog();
    LONG Send(const wchar_t* xmlResponse);

    [[nodiscard]] const IPPhoneRequest& Request() const noexcept { return m_request; }
    [[nodiscard]] const IPPhoneResponse& Response() const noexcept { return m_response; }
    [[nodiscard]] const std::wstring& CommandText() const noexcept { return m_commandText; }
    [[nodiscard]] HWND ConfirmDialog() const noexcept { return m_confirmDialog; }
    [[nodiscard]] BOOL ConfirmAsked() const noexcept { return m_confirmAsked; }

private:
    enum class Decision { Stop, Ask, GoAhead };
    // The confirmation rules; `callback` for the two call-back requests.
    Decision Decide(bool always, bool callback);
    Decision Ask();
    // Creates the library's object, calls `operation` on it and acts on the
    // library's result code.
    void CarryOut(bool instant, bool callback, const std::function<void(IQKMeetingOperations*, HWND)>& operation);
    void Post(UINT message) const;
    // The response document's XML; `busy` leaves out the password.
    bool ComposeResponse(LONG code, bool busy, std::wstring& xml) const;

    std::wstring m_commandText;
    IPPhone::IIPPhoneMessageSender* m_client = nullptr;
    IFrameServices* m_frame;
    IPPhoneRequest m_request;
    IPPhoneResponse m_response;
    HWND m_commandWindow = nullptr;
    HWND m_confirmDialog = nullptr;
    BOOL m_confirmAsked = FALSE;
};
