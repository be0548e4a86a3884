// The bridge's life: the process-wide instance, the client library and the
// window's messages.
#include "IPPhoneBoshPorxy.h"

#include <memory>
#include <utility>

#include "ModuleState.h"
#include "Trace.h"

using namespace IPPhone;

namespace {
// Created, used and deleted on the user-interface thread.
CIPPhoneBoshPorxy* g_instance = nullptr;
}  // namespace

CIPPhoneBoshPorxy* CIPPhoneBoshPorxy::CreateInstance(HWND owner, IFrameServices* frame) {
    if (g_instance) return g_instance;
    auto bridge = std::make_unique<CIPPhoneBoshPorxy>(frame);
    // A bridge whose client cannot be had destroys its window while it is
    // being created; some systems still hand back the old handle.
    const HWND window = bridge->Create(owner);
    if (!window || !::IsWindow(window)) return nullptr;
    bridge->m_hOwner = owner;
    bridge->m_logoffEvent.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    g_instance = bridge.release();
    return g_instance;
}

CIPPhoneBoshPorxy* CIPPhoneBoshPorxy::Instance() noexcept { return g_instance; }

void CIPPhoneBoshPorxy::DeleteInstance() noexcept {
    std::unique_ptr<CIPPhoneBoshPorxy> bridge(std::exchange(g_instance, nullptr));
    if (!bridge) return;
    bridge->BoshRelease();
    bridge->DestroyWindow();
}

CIPPhoneBoshPorxy::CIPPhoneBoshPorxy(IFrameServices* frame) noexcept : CDialogBase(IDD), m_frame(frame) {}

CIPPhoneBoshPorxy::~CIPPhoneBoshPorxy() {
    // The client's thread must be gone before the sink it calls.
    BoshRelease();
}

LRESULT CIPPhoneBoshPorxy::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    m_hPostTarget = m_hWnd;
    m_library.Load(kClientLibrary, ModuleState::Instance(), TRUE);
    m_commands.Attach(m_hWnd, this, m_frame);
    if (!InitBoshClient()) ::DestroyWindow(m_hWnd);
    return FALSE;
}

LRESULT CIPPhoneBoshPorxy::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_hPostTarget = nullptr;
    handled = FALSE;
    return 0;
}

int CIPPhoneBoshPorxy::InitBoshClient() {
    CAutoFunTrace trace("CIPPhoneBoshPorxy::InitBoshClient");
    const HMODULE library = m_library.Handle();
    if (!library) {
        TraceText(8, "CIPPhoneBoshPorxy::InitBoshClient load bosh.dll fail");
        return 0;
    }
    m_pCreateBOSHClient = reinterpret_cast<PFN_CreateBOSHClient>(::GetProcAddress(library, "CreateBOSHClient"));
    m_pReleaseBOSHClient = reinterpret_cast<PFN_ReleaseBOSHClient>(::GetProcAddress(library, "ReleaseBOSHClient"));
    if (!m_pCreateBOSHClient || !m_pReleaseBOSHClient) {
        TraceText(8, "CIPPhoneBoshPorxy::InitBoshClient GetProcAddress fail");
        return 0;
    }
    m_pClient = m_pCreateBOSHClient();
    if (!m_pClient) {
        TraceText(8, "CIPPhoneBoshPorxy::InitBoshClient m_pCreateBOSHClient fail");
        return 0;
    }
    m_pClient->SetSink(this);
    return 1;
}

void CIPPhoneBoshPorxy::BoshLogOff() {
    CAutoFunTrace trace("CIPPhoneBoshPorxy::BoshLogOff");
    if (m_pClient) m_pClient->LogOff();
}

void CIPPhoneBoshPorxy::BoshRelease() {
    if (!m_pClient && !m_library.Handle()) return;
    CAutoFunTrace trace("CIPPhoneBoshPorxy::BoshRelease");
    // Returns once the client's thread has stopped: no callback follows.
    if (m_pClient && m_pReleaseBOSHClient) m_pReleaseBOSHClient(m_pClient);
    m_pClient = nullptr;
    m_pCreateBOSHClient = nullptr;
    m_pReleaseBOSHClient = nullptr;
    m_library.Free();
}

void CIPPhoneBoshPorxy::BeginReleaseLogOff() {
    m_bReloginPending = false;
    m_bReleasePending = true;
    BoshLogOff();
}

void CIPPhoneBoshPorxy::SendChatMessage(const char* receiver, const char* body) {
    if (m_pClient) m_pClient->SendChatMessage(receiver, body);
}

void CIPPhoneBoshPorxy::OnMeetingReturn(const wchar_t* meetingsXml) {
    // Handled from the queue: the meeting component may report a meeting
    // while the command is still inside the meetings library that starts it,
    // before the command has learnt the new meeting's key.
    m_meetingLists.emplace_back(meetingsXml ? meetingsXml : L"");
    if (IsWindow() && ::PostMessageW(m_hWnd, kMsgMeetingReturn, 0, 0)) return;
    BOOL handled = TRUE;
    OnMeetingReturnMessage(kMsgMeetingReturn, 0, 0, handled);
}

LRESULT CIPPhoneBoshPorxy::OnMeetingReturnMessage(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_meetingLists.empty()) return 0;
    const std::wstring meetings = std::move(m_meetingLists.front());
    m_meetingLists.pop_front();
    m_commands.OnMeetingReturn(meetings.c_str());
    return 0;
}

LRESULT CIPPhoneBoshPorxy::OnMessageArrived(UINT, WPARAM, LPARAM, BOOL&) {
    for (;;) {
        Arrival arrival;
        {
            std::lock_guard lock(m_arrivalLock);
            if (m_arrivals.empty()) return 0;
            arrival = std::move(m_arrivals.front());
            m_arrivals.pop_front();
        }
        m_commands.OnMessageReceived(arrival.sender.c_str(), arrival.hasBody ? arrival.body.c_str() : nullptr);
    }
}

void CIPPhoneBoshPorxy::Post(UINT message) const noexcept {
    // Once the window is gone (shut-down) there is nobody left to act.
    if (const HWND target = m_hPostTarget.load()) ::PostMessageW(target, message, 0, 0);
}
