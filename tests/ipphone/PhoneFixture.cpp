#include "PhoneFixture.h"

#include <utility>

#include "UrlCodec.h"

namespace phonetest {
namespace {
const wchar_t kCommandWindowClass[] = L"QkTest_IPPhoneCommandWindow";

std::wstring Element(const wchar_t* name, const std::wstring& value) {
    if (value.empty()) return std::wstring(L"<") + name + L"/>";
    return std::wstring(L"<") + name + L">" + value + L"</" + name + L">";
}
}  // namespace

void SenderRecorder::SendChatMessage(const char* receiver, const char* body) {
    SentMessage message{receiver ? receiver : "", body ? body : "", {}};
    message.xml = IPPhone::DecodeMessageBody(body);
    // Some serialisers put line breaks and tabs between elements; the
    // responses hold no white space of their own.
    std::erase_if(message.xml, [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\t'; });
    sent.push_back(std::move(message));
}

bool CommandWindow::Create() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpszClassName = kCommandWindowClass;
    return CWindowBase::RegisterClassOnce(wc) &&
           CreateEx(0, kCommandWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr) != nullptr;
}

void PhoneTest::SetUp() {
    CommandTest::SetUp();
    ASSERT_TRUE(window.Create());
    handler.Attach(window.m_hWnd, &sender, frame.get());
    CIPPhoneBoshCmd::SetConfirmDialogOpener([this](int type, HWND notify, const std::wstring& topic) -> HWND {
        opened.push_back({type, notify, topic});
        dialogs.push_back(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                            nullptr));
        return dialogs.back();
    });
    commandtest::SetRunningMeetings(L"<meetings/>");
}

void PhoneTest::TearDown() {
    CIPPhoneBoshCmd::SetConfirmDialogOpener(nullptr);
    handler.Attach(nullptr, nullptr, nullptr);
    window.DestroyWindow();
    for (const HWND dialog : dialogs)
        if (::IsWindow(dialog)) ::DestroyWindow(dialog);
    commandtest::SetRunningMeetings(L"<meetings/>");
    CommandTest::TearDown();
}

void PhoneTest::Receive(const std::wstring& xml, const char* from) {
    handler.OnMessageReceived(from, IPPhone::EncodeMessageBody(xml.c_str()).c_str());
}

void PhoneTest::Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, window.m_hWnd, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_TIMER) continue;  // the timeout is driven by the tests
        ::DispatchMessageW(&msg);
    }
}

std::vector<SentMessage> PhoneTest::TakeSent() {
    return std::exchange(sender.sent, {});
}

bool PhoneTest::TimeoutWasRunning() const {
    return ::KillTimer(window.m_hWnd, IPPhone::TIMERID_TIMEOUT) != FALSE;
}

std::wstring Request(const std::wstring& command, const std::wstring& sequence, const std::wstring& param) {
    return L"<ZvnXmppReq><Command>" + command + L"</Command><Sequence>" + sequence +
           L"</Sequence><HostType>1</HostType><Param>" + param + L"</Param></ZvnXmppReq>";
}

std::wstring Response(const std::wstring& command, const std::wstring& sequence, const std::wstring& key,
                      const std::wstring& password, int code, bool busy) {
    return L"<ZvnXmppReq>" + Element(L"Command", command) + Element(L"Sequence", sequence) + L"<Param>" +
           Element(L"MeetingKey", key) + (busy ? L"" : Element(L"MeetPassword", password)) +
           Element(L"ResultCode", std::to_wstring(code)) + L"</Param></ZvnXmppReq>";
}
}  // namespace phonetest
