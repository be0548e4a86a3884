#pragma once
// What the code below the main frame asks of it. The frame implements this
// and hands it down when it creates the list view, the data provider, the
// item windows and the phone bridge; tests pass a recording implementation.
#include <windows.h>
#include <oleauto.h>
#include <commctrl.h>

#include "QkMeetingLibs.h"

class IFrameServices {
public:
    // The frame's window: owner of dialogs, target of posted commands. Null
    // while the frame has no window.
    [[nodiscard]] virtual HWND FrameWindow() const noexcept = 0;

    // The web-API synchronisation object, created on first request and held;
    // `reset` drops the held one first. A null `sync` gives E_INVALIDARG.
    virtual HRESULT GetSyncObject(IQKWebApiSync** sync, BOOL reset) = 0;
    // The meeting list type asked of the web-API component.
    [[nodiscard]] virtual LONG GetListType() const noexcept = 0;
    // Asks for a refresh of the meeting list (the refresh command, posted).
    virtual void PostRefresh() = 0;

    // Shows the frame with the day's meetings (or tells the user that the
    // client runs, for an account without the meetings window).
    virtual void OpenMainFrame() = 0;
    // The tray follows a synchronisation's start (TRUE) and end (FALSE).
    virtual void OnTrayAnimate(BOOL syncing) = 0;

    // The user must sign in again; `code` says why.
    virtual void SignInAgainWithError(INT_PTR code, INT_PTR second, INT_PTR third) = 0;
    virtual void RequestReSignin() = 0;

    // Meeting operations through the meetings library.
    virtual HRESULT StartInstantMeeting(BSTR phoneNumber) = 0;
    virtual HRESULT StartMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR topic, LONG value) = 0;
    virtual HRESULT JoinMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR password, BSTR site, LONG value,
                                BOOL passwordRequired) = 0;
    // Opens the meeting's edit page and its detail page. `notFromOI` is FALSE
    // for a meeting scheduled from the mail tool (its edit page is the tool's).
    virtual HRESULT EditMeeting(BSTR meetingKey, BOOL notFromOI, DATE start) = 0;
    virtual HRESULT ViewMeetingDetail(BSTR meetingKey, BOOL notFromOI, DATE start) = 0;

    // Whether the running meetings of this session include `meetingKey`:
    // kMeetingRunning, kMeetingNotRunning when others run, 0 when none do or
    // they cannot be read. `flag` is set to 1 by a meeting of user type "*".
    virtual LONG LocalMeetingStatus(const wchar_t* meetingKey, LONG* flag) = 0;
    static constexpr LONG kMeetingRunning = 33;
    static constexpr LONG kMeetingNotRunning = 11;

    // The picture that stands for `command` in menus: the frame's image list
    // (it stays the frame's) with the picture's index in `index`; null when
    // the frame has none for it.
    [[nodiscard]] virtual HIMAGELIST CommandImage(UINT command, int* index) const {
        (void)command;
        if (index) *index = -1;
        return nullptr;
    }

protected:
    ~IFrameServices() = default;
};
