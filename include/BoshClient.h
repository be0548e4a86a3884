#pragma once
// The suite's messaging client library "bosh.dll": XMPP over BOSH. Its users
// see one client object with fixed table slots, a sink the client calls back
// on a thread of its own, and two exported functions. Texts are narrow,
// zero-terminated and UTF-8 in both directions.
#include <windows.h>

namespace bosh {

// Codes of IBOSHClientSink::onError. Every session, whether it failed to start,
// broke or was signed off, ends with one onError followed by onReady.
enum BOSHError : int {
    kSignedOff = 0,             // LogOff was asked for (also when no session ran)
    kConnectFailed = 1,         // the service could not be reached; detail: Win32 error or HTTP status
    kAuthenticationFailed = 2,  // the server refused the account or its password
    kProtocolError = 3,         // the server answered something a login cannot go on from
    kConnectionLost = 4,        // an established session broke or the server ended it
    kBadArguments = 5,          // the address, account or password given to Login is unusable
};

// Values of IBOSHClientSink::onEvent's first argument: the stages of a login,
// for diagnostics; the second argument is 0.
enum BOSHEvent : int {
    kSessionCreated = 1,
    kAuthenticated = 2,
    kResourceBound = 3,
};

// Implemented by the client's user. Each callback returns 0.
class IBOSHClientSink {
public:
    virtual int onLogin() = 0;                                               // 0: signed in
    virtual int onEvent(int event, int detail) = 0;                          // 1
    virtual int onMessageReceived(const char* sender, const char* body) = 0; // 2: sender is a full address
    virtual int onError(int code, int detail) = 0;                           // 3: a BOSHError
    virtual int onReady() = 0;                                               // 4: idle again

protected:
    ~IBOSHClientSink() = default;
};

// Passed by value to Configure. Empty or null texts take the defaults.
struct BOSHClientConfig {
    HWND window;              // the user's window; this library has no use for it
    const char* proxy;        // "host:port" of an HTTP proxy; empty: the system's setting
    const char* proxyBypass;  // hosts reached without the proxy
    const char* userAgent;    // the HTTP User-Agent; empty: the library's own
};

class IBOSHClient {
public:
    virtual int Reserved0() = 0;                                 // 0: unused, returns 0
    virtual int SetSink(IBOSHClientSink* sink) = 0;              // 1
    // 2: applies to the next Login. hold: requests the server may keep waiting
    // (1 or 2); sendPresence: announce availability once signed in (0 or 1).
    virtual int Configure(BOSHClientConfig config, int hold, int sendPresence) = 0;
    // 3: starts signing in and returns at once; the outcome arrives through the
    // sink. boshAddress: "host[:port]/path" (a leading "http://" or "https://"
    // chooses the scheme; without one, port 443 or no port means https);
    // fullAddress: "node@domain/resource".
    virtual int Login(const char* boshAddress, const char* domain, const char* fullAddress,
                      const char* password) = 0;
    virtual int Reserved4() = 0;                                 // 4: unused, returns 0
    // 5: queues one chat message and returns at once, also while a poll is held.
    // Non-zero when it cannot be queued (no session, not UTF-8, a character XML forbids).
    virtual int SendChatMessage(const char* receiver, const char* body) = 0;
    // 6: ends the session (or an unfinished login); onError(kSignedOff) and onReady follow.
    virtual int LogOff() = 0;

protected:
    ~IBOSHClient() = default;
};

}  // namespace bosh

// The library's exports, resolved by name.
extern "C" {
typedef bosh::IBOSHClient* (*PFN_CreateBOSHClient)();
typedef void (*PFN_ReleaseBOSHClient)(bosh::IBOSHClient* client);
}
