#include "IPPhoneCommandHandler.h"

#include <wrl/client.h>

#include "ComHolders.h"
#include "Trace.h"
#include "UrlCodec.h"
#include "MSDom.h"

using Microsoft::WRL::ComPtr;
using namespace IPPhone;

CIPPhoneCommandHandler::~CIPPhoneCommandHandler() { EndCurrent(); }

void CIPPhoneCommandHandler::Attach(HWND commandWindow, IIPPhoneMessageSender* client, IFrameServices* frame) noexcept {
    m_frame = frame;
    m_commandWindow = commandWindow;
    m_client = client;
}

void CIPPhoneCommandHandler::OnMessageReceived(const char* sender, const char* body) {
    CAutoFunTrace trace("CIPPhoneBoshPorxy::onMessageReceived");
    if (!body) {
        TraceText(8, "CIPPhoneBoshPorxy::onMessageReceived:invalid messages");
        return;
    }
    std::wstring xml;
    try {
        xml = DecodeMessageBody(body);
    } catch (const std::bad_alloc&) {
        TraceText(8, "CIPPhoneBoshPorxy::onMessageReceived, new memory fail");
        return;
    }
    TraceText(2, "CIPPhoneBoshPorxy::onMessageReceived");

    ComPtr<IUnknown> doc;
    if (FAILED(CMSDom::CreateFromString(Bstr(xml.c_str()).get(), doc.GetAddressOf())) || !doc) return;
    ComPtr<IUnknown> root;
    if (FAILED(CMSDom::GetRootNode(doc.Get(), root.GetAddressOf())) || !root) return;
    CStringEx command;
    CMSDom::GetChildNodeValue(root.Get(), Bstr(L"//Command").get(), command);
    const bool cancel = ::CompareStringOrdinal(command.c_str(), -1, L"CancelQKDialog", -1, TRUE) == CSTR_EQUAL;
    const BoshAddress from = BoshAddress::Parse(sender);

    if (m_current && !cancel) {
        CIPPhoneBoshCmd busy(m_frame);
        busy.Start(xml.c_str(), m_client, m_commandWindow, from, root.Get());
        busy.SendResponseInprogress();
        return;
    }
    if (m_current) {
        if (m_commandWindow) ::PostMessageW(m_commandWindow, MSG_AP_BOSHCMDCANCEL, 0, 0);
        return;
    }
    m_current = std::make_unique<CIPPhoneBoshCmd>(m_frame);
    m_current->Start(xml.c_str(), m_client, m_commandWindow, from, root.Get());
    m_current->onMessageReceived();
    if (m_commandWindow) ::PostMessageW(m_commandWindow, MSG_AP_BOSHCMDTIMER, 0, 0);
}

void CIPPhoneCommandHandler::OnMeetingReturn(const wchar_t* meetingsXml) {
    if (m_current) m_current->OnMeetingReturn(meetingsXml);
}

BOOL CIPPhoneCommandHandler::ProcessCommandMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    const bool command = (message >= MSG_AP_BOSHCMDCANCEL && message <= MSG_AP_BOSHCMDJOINCALLBACK) ||
                         (message >= MSG_AP_BOSHCONFIRMTIMEOUT && message <= MSG_AP_BOSHCMDTIMER);
    const bool timeout = message == WM_TIMER && wParam == TIMERID_TIMEOUT;
    if (!command && !timeout) return FALSE;
    result = 0;
    try {
        if (timeout)
            OnTimeout();
        else
            OnCommand(message);
    } catch (...) {
        TraceText(8, "CIPPhoneBoshPorxy::OnCommand failed");
    }
    return TRUE;
}

void CIPPhoneCommandHandler::OnCommand(UINT message) {
    if (message == MSG_AP_BOSHCMDCANCEL) {
        TraceText(2, "CIPPhoneBoshPorxy::OnCommand::MSG_AP_BOSHCMDCANCEL");
        EndCurrent();
        return;
    }
    if (message == MSG_AP_BOSHCMDTIMER) {
        if (m_commandWindow) ::SetTimer(m_commandWindow, TIMERID_TIMEOUT, kCommandTimeoutMs, nullptr);
        return;
    }
    CIPPhoneBoshCmd* command = m_current.get();
    if (!command) return;
    switch (message) {
    case MSG_AP_BOSHCMDINSTANT: command->StartInstantMeeting(); break;
    case MSG_AP_BOSHCMDSCHED: command->StartScheduledMeeting(); break;
    case MSG_AP_BOSHCMDSCHEDCALLBACK: command->StartScheduledMeetingCallback(); break;
    case MSG_AP_BOSHCMDJOIN: command->JoinMeeting(); break;
    case MSG_AP_BOSHCMDJOINCALLBACK: command->JoinMeetingCallback(); break;
    case MSG_AP_BOSHCONFIRMTIMEOUT: command->SendResponse(kResultConfirmTimeout); break;
    case MSG_AP_BOSHCONFIRMOK:
        command->SendResponse(kResultAccepted);
        command->onMessageReceived();
        break;
    case MSG_AP_BOSHCONFIRMNO: command->SendResponse(kResultDeclined); break;
    case MSG_AP_BOSHSHOWCONFIRM: command->ShowConfirmDialog(); break;
    default: break;
    }
}

void CIPPhoneCommandHandler::OnTimeout() {
    TraceText(2, "CIPPhoneBoshPorxy::OnTimer::TIMERID_TIMEOUT");
    EndCurrent();
    if (m_commandWindow) ::KillTimer(m_commandWindow, TIMERID_TIMEOUT);
}

void CIPPhoneCommandHandler::EndCurrent() {
    if (!m_current) return;
    m_current->CloseConfirmDialog();
    m_current.reset();
}
