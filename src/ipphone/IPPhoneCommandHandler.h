#pragma once
// The command side of the phone connection: it owns the one command in
// progress, turns arriving message bodies into commands, and handles the
// messages and the timeout those commands post to the command window.
//
// Everything here runs on the command window's thread; the connection hands
// arriving messages over to that thread before calling OnMessageReceived.
#include <windows.h>

#include <memory>

#include "IPPhoneBoshCmd.h"
#include "IPPhoneDefs.h"

class CIPPhoneCommandHandler {
public:
    CIPPhoneCommandHandler() = default;
    ~CIPPhoneCommandHandler();
    CIPPhoneCommandHandler(const CIPPhoneCommandHandler&) = delete;
    CIPPhoneCommandHandler& operator=(const CIPPhoneCommandHandler&) = delete;

    // The window the commands post to, where answers go, and what carries out
    // the commands' meeting operations (any may be null).
    void Attach(HWND commandWindow, IPPhone::IIPPhoneMessageSender* client, IFrameServices* frame) noexcept;

    // A message body as the connection received it, from `sender`.
    void OnMessageReceived(const char* sender, const char* body);
    // The user's meeting list changed.
    void OnMeetingReturn(const wchar_t* meetingsXml);

    // The command messages and the command timeout; FALSE for other messages.
    BOOL ProcessCommandMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    [[nodiscard]] CIPPhoneBoshCmd* Current() const noexcept { return m_current.get(); }

private:
    void OnCommand(UINT message);
    void OnTimeout();
    void EndCurrent();

    IFrameServices* m_frame = nullptr;
    HWND m_commandWindow = nullptr;
    IPPhone::IIPPhoneMessageSender* m_client = nullptr;
    std::unique_ptr<CIPPhoneBoshCmd> m_current;
};
