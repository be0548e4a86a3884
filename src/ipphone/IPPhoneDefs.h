#pragma once
// Messages, timers and result codes shared by the phone bridge's command
// protocol and the connection that carries it, and the one operation the
// protocol needs of that connection.
#include <windows.h>

#include <string>

namespace IPPhone {
// Posted to the command window with both parameters 0.
enum Message : UINT {
    MSG_AP_BOSHCMDCANCEL = 0x60C,
    MSG_AP_BOSHCMDINSTANT = 0x60D,
    MSG_AP_BOSHCMDSCHED = 0x60E,
    MSG_AP_BOSHCMDSCHEDCALLBACK = 0x60F,
    MSG_AP_BOSHCMDJOIN = 0x610,
    MSG_AP_BOSHCMDJOINCALLBACK = 0x611,
    MSG_AP_BOSHCONFIRMTIMEOUT = 0x658,
    MSG_AP_BOSHCONFIRMOK = 0x659,
    MSG_AP_BOSHCONFIRMNO = 0x65A,
    MSG_AP_BOSHSHOWCONFIRM = 0x65B,
    MSG_AP_BOSHCMDTIMER = 0x65C,
    MSG_AP_BOSHLOGOFF = 0x65D,
    MSG_AP_BOSHRELOGIN = 0x65E,
};

inline constexpr UINT_PTR TIMERID_RELOGIN = 100;
inline constexpr UINT_PTR TIMERID_TIMEOUT = 300;
inline constexpr UINT kCommandTimeoutMs = 300000;

// "ResultCode" values the phone understands.
enum Result : int {
    kResultDone = 0,
    kResultAccepted = 1,
    kResultDeclined = 2,
    kResultConfirmTimeout = 3,
    kResultNotNow = -1,
    kResultFailed = -2,
    kResultBusy = -3,
};

// A messaging address: node "@" domain, and "/" resource when there is one.
struct BoshAddress {
    std::string node;
    std::string domain;
    std::string resource;

    [[nodiscard]] std::string Text() const;
    // Splits a full address; without "@" the whole text before "/" is the domain.
    static BoshAddress Parse(const char* text);
};

// What the connection offers the commands: one message body to one address.
// Both texts are zero-terminated ASCII (the body is already encoded).
class IIPPhoneMessageSender {
public:
    virtual void SendChatMessage(const char* receiver, const char* body) = 0;

protected:
    ~IIPPhoneMessageSender() = default;
};
}  // namespace IPPhone
