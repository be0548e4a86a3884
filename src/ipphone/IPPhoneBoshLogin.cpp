// Signing in: the account, the resource, the client's login, the back-off
// after failures and the request for the account after a refused password.
#include "IPPhoneBoshPorxy.h"

#include <nb30.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

#include "Clock.h"
#include "HostEvents.h"
#include "Trace.h"
#include "BoshAccount.h"
#include "CommonErrorDlg.h"

using namespace IPPhone;

namespace {
constexpr int kResourceLetters = 12;
constexpr UCHAR kMaxAdapters = 16;
constexpr WORD kAdapterStatusBuffer = 600;

CIPPhoneBoshPorxy::RandomSource& CustomRandom() {
    static CIPPhoneBoshPorxy::RandomSource source;
    return source;
}

// The first network adapter's address as twelve upper-case hexadecimal
// digits, asked of NetBIOS; empty when no adapter answers.
std::string GetMacAddress() {
    using NetbiosFn = UCHAR(APIENTRY*)(PNCB);
    const UniqueHmodule netapi(LoadSystemLibrary(L"netapi32.dll"));
    if (!netapi) return {};
    const auto netbios = reinterpret_cast<NetbiosFn>(::GetProcAddress(netapi.get(), "Netbios"));
    if (!netbios) return {};
    for (UCHAR adapter = 0; adapter < kMaxAdapters; ++adapter) {
        NCB reset{};
        reset.ncb_command = NCBRESET;
        reset.ncb_lana_num = adapter;
        if (netbios(&reset) != NRC_GOODRET) continue;

        UCHAR status[kAdapterStatusBuffer] = {};
        NCB query{};
        query.ncb_command = NCBASTAT;
        query.ncb_lana_num = adapter;
        std::memset(query.ncb_callname, ' ', NCBNAMSZ);
        query.ncb_callname[0] = '*';
        query.ncb_buffer = status;
        query.ncb_length = kAdapterStatusBuffer;
        if (netbios(&query) != NRC_GOODRET) continue;
        char text[13] = {};
        std::snprintf(text, sizeof(text), "%02X%02X%02X%02X%02X%02X", status[0], status[1], status[2], status[3],
                      status[4], status[5]);
        return text;
    }
    return {};
}
}  // namespace

void CIPPhoneBoshPorxy::SetRandomSource(RandomSource source) { CustomRandom() = std::move(source); }

unsigned CIPPhoneBoshPorxy::Random() {
    if (CustomRandom()) return CustomRandom()();
    // Seeded once: two sign-ins within one second must not get the same resource.
    static std::mt19937 generator(static_cast<unsigned>(std::time(nullptr)) ^ ::GetTickCount());
    return static_cast<unsigned>(generator());
}

std::string CIPPhoneBoshPorxy::MakeResource() {
    std::string resource = "QKClient";
    const std::string mac = GetMacAddress();
    if (!mac.empty()) return resource + mac;
    for (int i = 0; i < kResourceLetters; ++i) resource += static_cast<char>('G' + Random() % 20);
    return resource;
}

void CIPPhoneBoshPorxy::onGetIMAccount(const wchar_t* accountXml) {
    if (!accountXml) {
        TraceText(8, "CIPPhoneBoshPorxy::onGetIMAccount::invalid input");
        return;
    }
    const MessagingAccount account = ParseMessagingAccount(accountXml);
    if (!account.loaded) return;
    if (!account.success) {
        TraceText(8, "CIPPhoneBoshPorxy::onGetIMAccount::Get IM Account Failure");
        if (account.PasswordWrong()) {
            CCommonErrorDlg dialog;
            dialog.DoModal(m_hOwner ? m_hOwner : m_hWnd);
        }
        return;
    }
    m_strPassword = account.password;
    m_own.node = account.node;
    m_own.domain = account.domain;
    m_strBoshUrl = account.boshUrl;
    if (!m_bLoggedIn && !m_bLoginInProgress) {
        BoshLoginIn();
    } else {
        // The sign-off ends in onReady, which signs in again with this account.
        m_bReloginPending = true;
        BoshLogOff();
    }
}

void CIPPhoneBoshPorxy::BoshLoginIn() {
    CAutoFunTrace trace("CIPPhoneBoshPorxy::BoshLoginIn");
    m_bLoginInProgress = true;
    // A sign-in that starts now makes a running countdown pointless.
    if (IsWindow()) ::KillTimer(m_hWnd, TIMERID_RELOGIN);
    m_own.resource = MakeResource();
    if (!m_pClient) {
        m_pClient = m_pCreateBOSHClient ? m_pCreateBOSHClient() : nullptr;
        if (!m_pClient) {
            TraceText(8, " CIPPhoneBoshPorxy::BoshLoginIn m_pCreateBOSHClient fail");
            return;
        }
        m_pClient->SetSink(this);
    }
    m_pClient->Configure({m_hWnd, "", "", ""}, 1, 1);
    const std::string fullAddress = m_own.Text();
    m_pClient->Login(m_strBoshUrl.c_str(), m_own.domain.c_str(), fullAddress.c_str(), m_strPassword.c_str());
    m_bSessionStarted = true;
}

void CIPPhoneBoshPorxy::ResetBackoff() {
    if (IsWindow()) ::KillTimer(m_hWnd, TIMERID_RELOGIN);
    m_nBackoffDelay = m_nBackoffBase = m_nCountdown = 0;
}

LRESULT CIPPhoneBoshPorxy::OnLoggedIn(UINT, WPARAM, LPARAM, BOOL&) {
    ResetBackoff();
    return 0;
}

LRESULT CIPPhoneBoshPorxy::OnBoshLogoff(UINT, WPARAM, LPARAM, BOOL&) {
    const Backoff next = NextBackoff(m_nBackoffDelay, m_nBackoffBase, Random());
    m_nBackoffDelay = next.delay;
    m_nBackoffBase = next.base;
    m_nCountdown = next.delay;
    ::SetTimer(m_hWnd, TIMERID_RELOGIN, Clock::TimerPeriod(kReloginTickMs), nullptr);
    return 0;
}

LRESULT CIPPhoneBoshPorxy::OnTimer(UINT message, WPARAM timer, LPARAM lParam, BOOL& handled) {
    if (timer != TIMERID_RELOGIN) {
        LRESULT result = 0;
        handled = m_commands.ProcessCommandMessage(message, timer, lParam, result);
        return result;
    }
    // The sign-in starts on the tick after the countdown has reached zero.
    if (--m_nCountdown < 0) {
        m_bReloginPending = false;
        BoshLoginIn();
        ::KillTimer(m_hWnd, TIMERID_RELOGIN);
    }
    return 0;
}

LRESULT CIPPhoneBoshPorxy::OnBoshRelogin(UINT, WPARAM, LPARAM, BOOL&) {
    ResetBackoff();
    ReloginForPSWError();
    return 0;
}

void CIPPhoneBoshPorxy::ReloginForPSWError() {
    CAutoFunTrace trace("CIPPhoneBoshPorxy::ReloginForPSWError");
    // The service answers later with a fresh account (onGetIMAccount).
    FireHostEvent(VelEvent::MessagingAccountAgain, 0, 0, 0);
}

LRESULT CIPPhoneBoshPorxy::OnLoginAgain(UINT, WPARAM, LPARAM, BOOL&) {
    BoshLoginIn();
    return 0;
}
