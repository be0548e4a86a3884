#include "IPPhoneBoshCmd.h"

#include <wrl/client.h>

#include <algorithm>
#include <utility>

#include "QkMeetingLibs.h"
#include "ComHolders.h"
#include "SecretMask.h"
#include "Trace.h"
#include "DlgIpphoneStartMeetingConfirm.h"
#include "UrlCodec.h"
#include "MeetingLibrary.h"
#include "MeetingResultCodes.h"
#include "MSDom.h"

using Microsoft::WRL::ComPtr;
using namespace IPPhone;

namespace {
// Marks a meeting operation as asked for by the phone.
constexpr LONG kPhoneCaller = 13;
constexpr LONG kResultFlag = 1;
constexpr int kDecodeLength = 260;

CIPPhoneBoshCmd::ConfirmDialogOpener& Opener() {
    static CIPPhoneBoshCmd::ConfirmDialogOpener opener;
    return opener;
}


CStringEx ReadText(IUnknown* root, const wchar_t* path) {
    CStringEx value;
    CMSDom::GetChildNodeValue(root, Bstr(path).get(), value);
    return value;
}

// Loads a document; null unless it parsed and has a root element.
ComPtr<IUnknown> LoadRoot(const wchar_t* xml) {
    if (!xml) return nullptr;
    ComPtr<IUnknown> doc;
    const HRESULT hr = CMSDom::CreateFromString(Bstr(xml).get(), doc.GetAddressOf());
    if (FAILED(hr) || !doc) return nullptr;
    ComPtr<IUnknown> root;
    if (FAILED(CMSDom::GetRootNode(doc.Get(), root.GetAddressOf()))) return nullptr;
    return root;
}

}  // namespace

void CIPPhoneBoshCmd::SetConfirmDialogOpener(ConfirmDialogOpener opener) { Opener() = std::move(opener); }

CIPPhoneBoshCmd::CommandInfo CIPPhoneBoshCmd::LookUp(const wchar_t* command) {
    static constexpr struct {
        const wchar_t* name;
        CommandInfo info;
    } kCommands[] = {
        {L"InstantMeeting", {L"InstantMeetingResponse", 0, MSG_AP_BOSHCMDINSTANT}},
        {L"StartMeeting", {L"StartMeetingResponse", 1, MSG_AP_BOSHCMDSCHED}},
        {L"JoinMeeting", {L"JoinMeetingResponse", 2, MSG_AP_BOSHCMDJOIN}},
        {L"StartMeetingCallBack", {L"StartMeetingCallBackResponse", 3, MSG_AP_BOSHCMDSCHEDCALLBACK}},
        {L"JoinMeetingCallBack", {L"JoinMeetingCallBackResponse", 4, MSG_AP_BOSHCMDJOINCALLBACK}},
    };
    if (command) {
        for (const auto& entry : kCommands)
            if (::wcscmp(entry.name, command) == 0) return entry.info;
    }
    return {L"", -1, MSG_AP_BOSHCMDCANCEL};
}

CIPPhoneBoshCmd::~CIPPhoneBoshCmd() { CloseConfirmDialog(); }

void CIPPhoneBoshCmd::Start(const wchar_t* xmlCommand, IIPPhoneMessageSender* client, HWND commandWindow,
                            const BoshAddress& sender, IUnknown* parsedRoot) {
    SecretMask::TraceDocument(2, "CIPPhoneBoshCmd::Start", "lpszXMLCmd", xmlCommand);
    m_commandText = xmlCommand ? xmlCommand : L"";
    m_client = client;
    m_commandWindow = commandWindow;

    const ComPtr<IUnknown> root = parsedRoot ? ComPtr<IUnknown>(parsedRoot) : LoadRoot(xmlCommand);
    if (!root) return;
    const std::wstring topic = UrlDecodeToString(ReadText(root.Get(), L"//Param/MeetingTopic"), kDecodeLength);
    const std::wstring site = UrlDecodeToString(ReadText(root.Get(), L"//Param/SiteUrl"), kDecodeLength);
    const std::wstring password = UrlDecodeToString(ReadText(root.Get(), L"//Param/Password"), kDecodeLength);

    m_request.sender = sender;
    m_request.Command = ReadText(root.Get(), L"//ZvnXmppReq/Command");
    m_request.Sequence = ReadText(root.Get(), L"//ZvnXmppReq/Sequence");
    m_request.HostType = CMSDom::StringToLong(ReadText(root.Get(), L"//ZvnXmppReq/HostType"));
    m_request.HeadCount = CMSDom::StringToLong(ReadText(root.Get(), L"//Param/HeadCount"));
    m_request.MeetingKey = ReadText(root.Get(), L"//Param/MeetingKey");
    m_request.TelAttndeeID = ReadText(root.Get(), L"//Param/TelAttndeeID");
    m_request.PhoneNumber = ReadText(root.Get(), L"//Param/PhoneNumber");
    m_request.MeetingTopic = topic;
    m_request.SiteUrl = site;
    m_request.Password = password;

    m_response.receiver = sender;
    m_response.Sequence = m_request.Sequence;
    m_response.MeetingKey = m_request.MeetingKey;
    m_response.Command = LookUp(m_request.Command).response;
    m_response.Result = kResultFailed;
}

void CIPPhoneBoshCmd::Post(UINT message) const {
    if (m_commandWindow) ::PostMessageW(m_commandWindow, message, 0, 0);
}

void CIPPhoneBoshCmd::onMessageReceived() { Post(LookUp(m_request.Command).message); }

CIPPhoneBoshCmd::Decision CIPPhoneBoshCmd::Ask() {
    if (m_confirmAsked) return Decision::GoAhead;
    Post(MSG_AP_BOSHSHOWCONFIRM);
    return Decision::Stop;
}

CIPPhoneBoshCmd::Decision CIPPhoneBoshCmd::Decide(bool always, bool callback) {
    // The head count is unsigned on the wire: a negative number is a large one.
    if (!always && static_cast<ULONG>(m_request.HeadCount) <= 1) return Decision::GoAhead;
    LONG flag = 0;
    const LONG status = m_frame ? m_frame->LocalMeetingStatus(m_request.MeetingKey.c_str(), &flag) : 0;
    if (!callback) {
        // A start only refuses the meeting that already runs here.
        if (status == IFrameServices::kMeetingRunning) {
            SendResponse(kResultNotNow);
            return Decision::Stop;
        }
        return Ask();
    }
    if (status == IFrameServices::kMeetingNotRunning) {
        SendResponse(kResultNotNow);
        return Decision::Stop;
    }
    if (status == IFrameServices::kMeetingRunning) {
        SendResponse(kResultDone);
        return Decision::Stop;
    }
    return Ask();
}

void CIPPhoneBoshCmd::CarryOut(bool instant, bool callback,
                               const std::function<void(IQKMeetingOperations*, HWND)>& operation) {
    LONG code = 0;
    Bstr xml;
    {
        CMeetingLibObject<IQKMeetingOperations> operations(CLSID_QKMeetingOperations);
        if (!operations) return;  // left to the timeout
        const HWND owner = m_frame ? m_frame->FrameWindow() : nullptr;
        operation(operations.operator->(), owner);
        if (FAILED(operations->GetResult(&code, xml.receive(), kResultFlag))) code = 0;
    }
    if (code == MeetingResult::kStarted) {
        if (!instant) return;
        CStringEx key;
        if (const ComPtr<IUnknown> root = LoadRoot(xml.get())) key = ReadText(root.Get(), L"//meetingKey");
        if (key.IsEmpty())
            TraceText(8, "CIPPhoneBoshCmd::StartInstantMeeting::MEETINGKEY IS NULL");
        else
            m_request.MeetingKey = key;
        return;
    }
    if (MeetingResult::IsOneOf(code, MeetingResult::kPhoneSignInAgain)) {
        if (m_frame) m_frame->SignInAgainWithError(code, 0, 0);
        if (!callback) SendResponse(kResultFailed);
        return;
    }
    if (MeetingResult::IsOneOf(code, MeetingResult::kPhoneReSignin)) {
        if (m_frame) m_frame->RequestReSignin();
        return;
    }
    SendResponse(kResultFailed);
}

LONG CIPPhoneBoshCmd::StartInstantMeeting() {
    CAutoFunTrace trace("CIPPhoneBoshCmd::StartInstantMeeting()");
    if (static_cast<ULONG>(m_request.HeadCount) > 1 && Ask() == Decision::Stop) return 0;
    Bstr phone(m_request.PhoneNumber.c_str());
    CarryOut(true, false, [&](IQKMeetingOperations* operations, HWND owner) {
        operations->StartInstantMeeting(owner, kPhoneCaller, phone.get(), 0);
    });
    return 0;
}

LONG CIPPhoneBoshCmd::StartScheduledMeeting() {
    CAutoFunTrace trace("CIPPhoneBoshCmd::StartScheduledMeeting()");
    if (Decide(false, false) == Decision::Stop) return 0;
    Bstr key(m_request.MeetingKey.c_str());
    Bstr topic(m_request.MeetingTopic.c_str());
    Bstr phone(m_request.PhoneNumber.c_str());
    CarryOut(false, false, [&](IQKMeetingOperations* operations, HWND owner) {
        operations->StartScheduledMeeting(owner, key.get(), topic.get(), 0, key.get(), kPhoneCaller, phone.get(),
                                          nullptr);
    });
    return 0;
}

LONG CIPPhoneBoshCmd::StartScheduledMeetingCallback() {
    CAutoFunTrace trace("CIPPhoneBoshCmd::StartScheduledMeetingCallback()");
    if (Decide(true, true) == Decision::Stop) return 0;
    Bstr key(m_request.MeetingKey.c_str());
    Bstr attendee(m_request.TelAttndeeID.c_str());
    CarryOut(false, true, [&](IQKMeetingOperations* operations, HWND owner) {
        // The library takes the key in place of a topic for a call-back.
        operations->StartScheduledMeeting(owner, key.get(), key.get(), 0, key.get(), kPhoneCaller, nullptr,
                                          attendee.get());
    });
    return 0;
}

LONG CIPPhoneBoshCmd::JoinMeeting() {
    CAutoFunTrace trace("CIPPhoneBoshCmd::JoinMeeting()");
    if (Decide(false, true) == Decision::Stop) return 0;
    Bstr key(m_request.MeetingKey.c_str());
    Bstr password(m_request.Password.c_str());
    Bstr site(m_request.SiteUrl.c_str());
    Bstr phone(m_request.PhoneNumber.c_str());
    CarryOut(false, false, [&](IQKMeetingOperations* operations, HWND owner) {
        operations->JoinMeeting(owner, key.get(), password.get(), site.get(), 0, key.get(), kPhoneCaller,
                                phone.get(), nullptr);
    });
    return 0;
}

LONG CIPPhoneBoshCmd::JoinMeetingCallback() {
    CAutoFunTrace trace("CIPPhoneBoshCmd::JoinMeetingCallback()");
    if (Decide(true, true) == Decision::Stop) return 0;
    Bstr key(m_request.MeetingKey.c_str());
    Bstr password(m_request.Password.c_str());
    Bstr site(m_request.SiteUrl.c_str());
    Bstr attendee(m_request.TelAttndeeID.c_str());
    CarryOut(false, true, [&](IQKMeetingOperations* operations, HWND owner) {
        operations->JoinMeeting(owner, key.get(), password.get(), site.get(), 0, key.get(), kPhoneCaller, nullptr,
                                attendee.get());
    });
    return 0;
}

void CIPPhoneBoshCmd::OnMeetingReturn(const wchar_t* meetingsXml) {
    SecretMask::TraceDocument(2, "CIPPhoneBoshCmd::OnMeetingReturn", "lpszMeetings", meetingsXml);
    const ComPtr<IUnknown> root = LoadRoot(meetingsXml);
    if (!root) return;
    ComPtr<IUnknown> list;
    if (FAILED(CMSDom::GetNodeList(root.Get(), Bstr(L"//meeting").get(), list.GetAddressOf())) || !list) return;
    const LONG count = CMSDom::GetNodeListCount(list.Get());
    if (count <= 0) {
        SendResponse(kResultFailed);
        return;
    }
    for (LONG i = 0; i < count; ++i) {
        ComPtr<IUnknown> meeting;
        if (FAILED(CMSDom::GetNodeFromList(list.Get(), i, meeting.GetAddressOf())) || !meeting) return;
        const CStringEx key = ReadText(meeting.Get(), L"meetingKey");
        if (::CompareStringOrdinal(key.c_str(), -1, m_request.MeetingKey.c_str(), -1, TRUE) != CSTR_EQUAL) continue;
        m_response.MeetPassword = UrlDecodeToString(ReadText(meeting.Get(), L"meetingPassword"), kDecodeLength);
        SendResponse(kResultDone);
        return;
    }
}

bool CIPPhoneBoshCmd::ComposeResponse(LONG code, bool busy, std::wstring& xml) const {
    ComPtr<IUnknown> doc;
    if (FAILED(CMSDom::MSDomCreate(doc.GetAddressOf())) || !doc) return false;
    ComPtr<IUnknown> root;
    if (FAILED(CMSDom::CreateRootNode(doc.Get(), Bstr(L"ZvnXmppReq").get(), nullptr, root.GetAddressOf())) || !root)
        return false;
    ComPtr<IUnknown> node;
    auto value = [&](IUnknown* parent, const wchar_t* name, const CStringEx& text) {
        node.Reset();
        return SUCCEEDED(CMSDom::CreateValueNode(parent, Bstr(name).get(), Bstr(text.c_str()).get(),
                                                 node.GetAddressOf())) &&
               node;
    };
    if (!value(root.Get(), L"Command", m_response.Command) || !value(root.Get(), L"Sequence", m_response.Sequence))
        return false;
    ComPtr<IUnknown> param;
    if (FAILED(CMSDom::CreateNode(root.Get(), Bstr(L"Param").get(), param.GetAddressOf())) || !param) return false;
    if (!value(param.Get(), L"MeetingKey", m_response.MeetingKey)) return false;
    if (!busy && !value(param.Get(), L"MeetPassword", m_response.MeetPassword)) return false;
    if (!value(param.Get(), L"ResultCode", CStringEx(std::to_wstring(code)))) return false;
    Bstr text;
    if (FAILED(CMSDom::GetSubXML(doc.Get(), text.receive()))) return false;
    xml = text.str();
    return true;
}

void CIPPhoneBoshCmd::SendResponse(LONG code) {
    CAutoFunTrace trace("CIPPhoneBoshCmd::SendResponse");
    m_response.Result = code;
    std::wstring xml;
    if (!ComposeResponse(code, false, xml)) return;
    Send(xml.c_str());
    if (code != kResultAccepted) Post(MSG_AP_BOSHCMDCANCEL);
}

void CIPPhoneBoshCmd::SendResponseInprogress() {
    std::wstring xml;
    if (!ComposeResponse(kResultBusy, true, xml)) return;
    Send(xml.c_str());
}

void CIPPhoneBoshCmd::ShowConfirmDialog() {
    m_confirmAsked = TRUE;
    if (m_confirmDialog && ::IsWindow(m_confirmDialog)) {
        SendResponse(kResultBusy);
        return;
    }
    const int type = LookUp(m_request.Command).dialogType;
    m_confirmDialog = Opener() ? Opener()(type, m_commandWindow, m_request.MeetingTopic.str())
                               : CDlgIpphoneStartMeetingConfirm::Open(type, m_commandWindow, m_request.MeetingTopic.str());
}

void CIPPhoneBoshCmd::CloseConfirmDialog() {
    if (m_confirmDialog && ::IsWindow(m_confirmDialog)) ::DestroyWindow(m_confirmDialog);
    m_confirmDialog = nullptr;
}

LONG CIPPhoneBoshCmd::Send(const wchar_t* xmlResponse) {
    SecretMask::TraceDocument(2, "CIPPhoneBoshCmd::Send", "lpszXmlResponse", xmlResponse);
    if (!xmlResponse) {
        TraceText(8, "CIPPhoneBoshCmd::Send::invalid input");
        return 0;
    }
    SecretMask::DebugOutputDocument(xmlResponse);
    const std::string body = EncodeMessageBody(xmlResponse);
    const std::string address = m_response.receiver.Text();
    if (m_client) m_client->SendChatMessage(address.c_str(), body.c_str());
    return 0;
}
