// The messaging client's callbacks. They run on the client's thread: they
// copy what they are given, set the atomic flags and post to the window.
#include "IPPhoneBoshPorxy.h"

#include "Trace.h"

using namespace IPPhone;

int CIPPhoneBoshPorxy::onLogin() {
    m_bLoggedIn = true;
    m_bLoginInProgress = false;
    // The back-off and its timer belong to the window's thread.
    Post(kMsgLoggedIn);
    return 0;
}

int CIPPhoneBoshPorxy::onEvent(int, int) { return 0; }

int CIPPhoneBoshPorxy::onMessageReceived(const char* sender, const char* body) {
    try {
        {
            std::lock_guard lock(m_arrivalLock);
            m_arrivals.push_back({sender ? sender : "", body ? body : "", body != nullptr});
        }
        Post(kMsgMessageArrived);
    } catch (...) {
        TraceText(8, "CIPPhoneBoshPorxy::onMessageReceived, new memory fail");
    }
    return 0;
}

int CIPPhoneBoshPorxy::onError(int code, int) {
    if (code == bosh::kSignedOff) {
        TraceText(8, "CIPPhoneBoshPorxy::onError BOSH LOGOFF");
    } else if (code == bosh::kAuthenticationFailed) {
        // Retrying a refused password is pointless: the account is asked for again.
        Post(MSG_AP_BOSHRELOGIN);
    } else {
        Post(MSG_AP_BOSHLOGOFF);
    }
    return 0;
}

int CIPPhoneBoshPorxy::onReady() {
    CAutoFunTrace trace("CIPPhoneBoshPorxy::onReady");
    m_bLoggedIn = false;
    m_bSessionStarted = false;
    // Idle again: an account that arrives now signs in at once.
    m_bLoginInProgress = false;
    if (m_bReloginPending.exchange(false)) {
        Post(kMsgLoginAgain);
    } else if (m_bReleasePending.exchange(false)) {
        // The window's thread is blocked waiting for exactly this.
        if (m_logoffEvent) ::SetEvent(m_logoffEvent.get());
    }
    return 0;
}
