#pragma once
// A command window with the phone's command handler behind it, beside a real
// main frame and the suite's real meetings library; answers to the phone are
// captured where the messaging connection would send them.
#include <string>
#include <vector>

#include "support/CommandFixture.h"
#include "IPPhoneCommandHandler.h"
#include "WindowBase.h"

namespace phonetest {
struct SentMessage {
    std::string receiver;
    std::string body;  // as it went out
    std::wstring xml;  // decoded again, without the serialiser's line breaks and tabs
};

class SenderRecorder final : public IPPhone::IIPPhoneMessageSender {
public:
    void SendChatMessage(const char* receiver, const char* body) override;
    std::vector<SentMessage> sent;
};

// The connection's hidden window as far as the commands need it: hidden and
// top-level, so that it can own the confirmation dialog.
class CommandWindow final : public CWindowBase {
public:
    explicit CommandWindow(CIPPhoneCommandHandler& handler) : m_handler(handler) {}
    bool Create();

protected:
    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return m_handler.ProcessCommandMessage(message, wParam, lParam, result);
    }

private:
    CIPPhoneCommandHandler& m_handler;
};

struct OpenedConfirm {
    int type;
    HWND notify;
    std::wstring topic;
};

class PhoneTest : public commandtest::CommandTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A request as the connection hands it over: the XML percent-encoded.
    void Receive(const std::wstring& xml, const char* sender = "phone@acme.example.com/desk");
    // Delivers the messages the commands posted to the command window.
    void Pump();
    // The answers sent since the last call.
    std::vector<SentMessage> TakeSent();
    // Whether the command timeout was running; stops it.
    bool TimeoutWasRunning() const;

    CIPPhoneCommandHandler handler;
    CommandWindow window{handler};
    SenderRecorder sender;
    std::vector<HWND> dialogs;  // stand in for the user's confirmation dialogs
    std::vector<OpenedConfirm> opened;
};

// A request document with `param` as the content of its "Param" element.
std::wstring Request(const std::wstring& command, const std::wstring& sequence, const std::wstring& param);
// The response document as the commands compose it.
std::wstring Response(const std::wstring& command, const std::wstring& sequence, const std::wstring& key,
                      const std::wstring& password, int code, bool busy = false);
}  // namespace phonetest
