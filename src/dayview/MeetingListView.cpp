#include "MeetingListView.h"

#include <wrl/client.h>

#include <string>

#include "BubbleInfor.h"
#include "BubblePara.h"
#include "ComHolders.h"
#include "DailyView.h"
#include "HostEvents.h"
#include "MeetingDataProvider.h"
#include "MeetingLibrary.h"
#include "Registry.h"
#include "SJUISetting.h"
#include "TimeApi.h"
#include "Trace.h"

using Microsoft::WRL::ComPtr;

namespace {
constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\Zorvan\\Quillkit";
constexpr COLORREF kWhite = RGB(255, 255, 255);

DATE AtTimeOfDay(DATE day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    ::VariantTimeToSystemTime(day, &time);
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    time.wMilliseconds = 0;
    DATE result = day;
    ::SystemTimeToVariantTime(&time, &result);
    return result;
}

// Traces one named value (a text or a number) with `label`.
template <typename Value>
void TraceNamed(const char* label, const char* name, Value value) {
    const CVarAdapter adapted(value);
    const TraceArg arg{name, &adapted};
    const TraceArg* const args[] = {&arg, nullptr};
    Trace::WriteTraceLine(2, label, args);
}
}  // namespace

CMeetingListView::CMeetingListView(IFrameServices* frame)
    : CDialogBase(IDD),
      m_frame(frame),
      m_provider(std::make_unique<CMeetingDataProvider>(frame)),
      m_dayView(std::make_unique<CDailyView>(m_provider.get(), frame)),
      m_bubble(std::make_unique<CBubbleInfor>(frame)) {}

// The day view goes first: it reads the provider until its window is gone.
CMeetingListView::~CMeetingListView() {
    if (IsWindow()) ::DestroyWindow(m_hWnd);
    m_dayView.reset();
    m_provider.reset();
    m_bubble.reset();
}

HWND CMeetingListView::Create(HWND parent) { return CDialogBase::Create(parent); }

HWND CMeetingListView::FrameWindow() const noexcept {
    const HWND frame = m_frame ? m_frame->FrameWindow() : nullptr;
    return frame && ::IsWindow(frame) ? frame : nullptr;
}

LRESULT CMeetingListView::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    m_background.reset(::CreateSolidBrush(kWhite));
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    RECT schedule{};
    if (const HWND button = ::GetDlgItem(m_hWnd, kIdScheduleMeeting)) {
        ::GetWindowRect(button, &schedule);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&schedule), 2);
    }
    const RECT dayArea{client.left, schedule.bottom + kDayViewGap, client.right, client.bottom};
    if (!m_dayView->Create(m_hWnd, dayArea, kDayViewStyle)) {
        TraceError("CMeetingListView::OnInitDialog DailyView Fail");
        ::EndDialog(m_hWnd, -1);
        ::DestroyWindow(m_hWnd);
        return FALSE;
    }
    ::ShowWindow(m_dayView->m_hWnd, SW_SHOW);

    struct ButtonSetup {
        CPngButton& button;
        UINT id;
        UINT image;
        UINT tip;
    };
    for (const ButtonSetup& setup : {ButtonSetup{m_startButton, kIdStartMeeting, kStartImage, kStartTip},
                                     ButtonSetup{m_scheduleButton, kIdScheduleMeeting, kScheduleImage, kScheduleTip},
                                     ButtonSetup{m_refreshButton, kIdRefresh, kRefreshImage, kRefreshTip}}) {
        const HWND control = ::GetDlgItem(m_hWnd, static_cast<int>(setup.id));
        if (!control || !setup.button.SubclassWindow(control)) continue;
        setup.button.SetExtendedStyle(CPngButton::kHover);
        setup.button.SetImages(setup.image, setup.image, setup.image, setup.image);
        setup.button.SetBackgroundColor(kWhite);
        setup.button.SetToolTipText(setup.tip);
    }
    std::vector<UINT> frames;
    for (UINT i = 0; i < kBusyFrameCount; ++i) frames.push_back(kFirstBusyFrame + i);
    m_refreshButton.SetBusyFrames(frames);

    SubscribeHostEvents({VelEvent::ShowBubble, VelEvent::ShowMeeting, VelEvent::OpenSettings,
                         VelEvent::HostDefined15, VelEvent::ShowDay},
                        this);
    return TRUE;
}

LRESULT CMeetingListView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kTimerCheckDay);
    if (m_syncTimer) ::KillTimer(m_hWnd, m_syncTimer);
    m_syncTimer = 0;
    UnsubscribeHostEvents({VelEvent::ShowBubble, VelEvent::ShowMeeting, VelEvent::OpenSettings,
                           VelEvent::HostDefined15, VelEvent::ShowDay},
                          this);
    handled = FALSE;
    return 0;
}

LRESULT CMeetingListView::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, m_background.get());
    return TRUE;
}

LRESULT CMeetingListView::OnCtlColorDialog(UINT, WPARAM, LPARAM, BOOL&) {
    return reinterpret_cast<LRESULT>(m_background.get());
}

LRESULT CMeetingListView::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_dayView->IsWindow()) ::SetFocus(m_dayView->m_hWnd);
    return 0;
}

LRESULT CMeetingListView::OnNotify(UINT, WPARAM, LPARAM, BOOL& handled) {
    // The buttons answer their own tooltips; the day view's notifications stay its own.
    handled = FALSE;
    return 0;
}

LRESULT CMeetingListView::OnRefreshCommand(WORD notifyCode, WORD, HWND, BOOL&) {
    OnRefresh(notifyCode);
    return 0;
}

// Starting and scheduling are the frame's commands.
LRESULT CMeetingListView::OnFrameCommand(WORD, WORD id, HWND, BOOL&) {
    if (const HWND frame = FrameWindow()) ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    return 0;
}

BOOL CMeetingListView::PreTranslateMessage(MSG* msg) {
    if (!msg || !IsWindow() || !m_dayView->IsWindow()) return FALSE;
    return m_dayView->PreTranslateMessage(msg);
}

void CMeetingListView::SetActive(BOOL active) {
    active = active ? TRUE : FALSE;
    if (active == m_bActive) return;
    m_bActive = active;
    if (active) {
        m_bFreshLoad = TRUE;
        RefreshDay(TRUE);
        m_bFreshLoad = FALSE;
        if (IsWindow()) ::SetTimer(m_hWnd, kTimerCheckDay, kCheckDayMs, nullptr);
        return;
    }
    if (IsWindow()) ::KillTimer(m_hWnd, kTimerCheckDay);
    if (m_syncTimer) {
        if (IsWindow()) ::KillTimer(m_hWnd, m_syncTimer);
        m_syncTimer = 0;
        StopBusyAnimation();
        if (m_frame) m_frame->OnTrayAnimate(FALSE);
        FireHostEvent(VelEvent::TrayImageState, 1, 0, 0);
    }
}

void CMeetingListView::OnRefresh(UINT code) {
    CAutoFunTrace trace("CMeetingListView::OnRefresh");
    if (!m_provider || !m_bActive) return;
    CSJUISetting* setting = CSJUISetting::Existing();
    if (!setting || !setting->IsSnapjoinEnabled()) return;
    const DATE day = m_provider->GetCurrentDate();
    StartSyncZorvanMeeting(AtTimeOfDay(day, 0, 0, 0), AtTimeOfDay(day, 23, 59, 59));
    if (code == 0) m_bFreshLoad = TRUE;
}

void CMeetingListView::StartSyncZorvanMeeting(DATE start, DATE end) {
    CAutoFunTrace trace("CMeetingListView::StartSyncZorvanMeeting");
    DWORD enabled = 0;
    if (!CRegistry::ReadDword(HKEY_CURRENT_USER, kSettingsKey, L"SJEnable", &enabled) || enabled != 1) {
        TraceText(2, "CMeetingListView::StartSyncZorvanMeeting: SJ disable, don't need to sync meeting.");
        return;
    }
    if (m_syncTimer) {
        if (IsWindow()) ::KillTimer(m_hWnd, m_syncTimer);
        m_syncTimer = 0;
    }
    ComPtr<IQKWebApiSync> sync;
    if (!m_frame || FAILED(m_frame->GetSyncObject(sync.GetAddressOf(), TRUE)) || !sync) return;
    if (!CSJUISetting::Existing()) return;
    sync->StartSync(start, end, FrameWindow());

    const CVarAdapter startValue(start, 6);
    const CVarAdapter endValue(end, 6);
    const TraceArg startArg{"vtStart", &startValue};
    const TraceArg endArg{"vtEnd", &endValue};
    const TraceArg* const args[] = {&startArg, &endArg, nullptr};
    Trace::WriteTraceLine(2, "SyncZorvanMeeting, vtStart=%f,vtEnd=%f", args);

    if (!IsWindow()) return;
    m_syncTimer = ::SetTimer(m_hWnd, kTimerSyncPoll, kSyncPollMs, nullptr) ? UINT_PTR{kTimerSyncPoll} : UINT_PTR{0};
    if (m_refreshButton.IsWindow()) m_refreshButton.StartBusyAnimation(kBusyFrameMs);
    if (m_frame) m_frame->OnTrayAnimate(TRUE);
}

LRESULT CMeetingListView::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    switch (wParam) {
    case kTimerSyncPoll:
        if (m_syncTimer) OnSyncPoll();
        return 0;
    case kTimerCheckDay:
        if (::IsWindowVisible(m_hWnd) && m_provider && m_provider->CheckForChanges() && m_dayView->IsWindow())
            m_dayView->RefreshDailyView();
        return 0;
    default:
        handled = FALSE;
        return 0;
    }
}

void CMeetingListView::OnSyncPoll() {
    ComPtr<IQKWebApiSync> sync;
    if (!m_frame || FAILED(m_frame->GetSyncObject(sync.GetAddressOf(), FALSE)) || !sync) return;
    LONG status = 0;
    sync->GetSyncStatus(&status);
    if (status == kSyncRunning) return;

    // The line names the status twice: as a quoted name and as its value.
    const std::string label = "GetZorvanSyncStatus nStatus=" + std::to_string(status);
    const std::string narrowName = "\"" + label + "\"";
    const CVarAdapter labelValue(label.c_str());
    const CVarAdapter statusValue(static_cast<int>(status));
    const TraceArg labelArg{narrowName.c_str(), &labelValue};
    const TraceArg statusArg{"emStatus", &statusValue};
    const TraceArg* const args[] = {&labelArg, &statusArg, nullptr};
    Trace::WriteTraceLine(2, "", args);

    ::KillTimer(m_hWnd, m_syncTimer);
    m_syncTimer = 0;
    if (status == kSyncSucceeded) {
        OnSynchronised();
        return;
    }
    StopBusyAnimation();
    SetActive(FALSE);
    if (!m_frame) return;
    if (status == 19 || status == 33)
        m_frame->RequestReSignin();
    else
        m_frame->SignInAgainWithError(status, 0, 0);
}

void CMeetingListView::OnSynchronised() {
    HandleEvent(VelEvent::SignInSynchronized, 0, 0, 0);
    StopBusyAnimation();
    if (m_frame) m_frame->OnTrayAnimate(FALSE);
    ::CoFreeUnusedLibraries();
    // The day is loaded: what the parse and the sibling libraries needed
    // can go back to the system.
    const BOOL released = ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1),
                                                     static_cast<SIZE_T>(-1));
    TraceNamed("Call SetProcessWorkingSetSize to release memory! bReleaseMem=%d", "bReleaseMem",
               static_cast<int>(released));
}

void CMeetingListView::StopBusyAnimation() {
    if (m_refreshButton.IsWindow()) m_refreshButton.StopBusyAnimation();
}

void CMeetingListView::ResetDay(const DATE* day) {
    if (!m_provider) return;
    m_provider->ResetDay(day);
    m_bFreshLoad = TRUE;
}

void CMeetingListView::RefreshDay(BOOL fresh) {
    if (!m_provider || !m_dayView) return;
    m_provider->LoadDay(fresh ? FALSE : TRUE);
    if (!IsWindow()) return;
    m_dayView->RefreshDailyView();
    const HWND frame = FrameWindow();
    if (frame && ::IsWindowVisible(frame) && ::GetForegroundWindow() == frame && m_dayView->IsWindow())
        ::SetFocus(m_dayView->m_hWnd);
}

void CMeetingListView::ShowAndHighlight(INT32 index) {
    if (index < 0 || !m_dayView->IsWindow()) return;
    m_dayView->RefreshDailyView();
    m_dayView->SetHighlight(index);
}

HRESULT CMeetingListView::HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) {
    try {
        switch (code) {
        case VelEvent::SignInSynchronized:
            if (m_bActive) {
                RefreshDay(m_bFreshLoad);
                m_bFreshLoad = FALSE;
                if (m_bShowPending && m_provider) {
                    ShowAndHighlight(m_provider->ShowMeeting(nullptr, m_pendingConfId.c_str(), m_pendingEntryId.c_str()));
                }
                m_bShowPending = FALSE;
                m_pendingConfId.Empty();
                m_pendingEntryId.Empty();
            }
            FireHostEvent(VelEvent::TrayImageState, 1, 0, 0);
            break;
        case VelEvent::ShowBubble:
            PopupBubble(reinterpret_cast<const RECT*>(param1), static_cast<INT32>(param2),
                        reinterpret_cast<HWND>(param3));
            break;
        case VelEvent::ShowMeeting: {
            const auto* confId = reinterpret_cast<const wchar_t*>(param1);
            const auto* day = reinterpret_cast<const DATE*>(param2);
            const auto* entryId = reinterpret_cast<const wchar_t*>(param3);
            if (!confId && !entryId) break;
            if (m_frame) m_frame->OpenMainFrame();
            m_bShowPending = FALSE;
            m_pendingConfId.Empty();
            m_pendingEntryId.Empty();
            if (!m_provider) break;
            const DATE shown = day ? *day : CTimeApi::GetLocalNow();
            const BOOL changed = m_provider->SetCurrentDate(shown);
            const INT32 index = m_provider->ShowMeeting(nullptr, confId, entryId);
            if (changed && index < 0) {
                m_bShowPending = TRUE;
                m_pendingConfId = confId ? confId : L"";
                m_pendingEntryId = entryId ? entryId : L"";
            }
            ShowAndHighlight(index);
            break;
        }
        case VelEvent::OpenSettings:
            if (const HWND frame = FrameWindow()) ::SendMessageW(frame, WM_COMMAND, MAKEWPARAM(kIdSettingsCommand, 0), 0);
            FireHostEvent(VelEvent::SettingsOpened, 1, 1, 0);
            break;
        case VelEvent::ShowDay: {
            if (!m_provider) break;
            const auto* day = reinterpret_cast<const DATE*>(param1);
            const DATE shown = day ? *day : CTimeApi::GetLocalNow();
            const BOOL today = CTimeApi::IsSameDay(shown, CTimeApi::GetLocalNow());
            const BOOL changed = m_provider->SetCurrentDate(shown);
            BOOL changes = FALSE;
            if (today && !changed) changes = m_provider->CheckForChanges();
            if (m_dayView->IsWindow() && (changed || changes)) m_dayView->RefreshDailyView();
            break;
        }
        default:
            break;
        }
    } catch (...) {
        // The bus belongs to the host: nothing may escape into it.
    }
    return S_OK;
}

HRESULT CMeetingListView::OpenDetailPage(BSTR meetingKey, const char* scope) {
    CAutoFunTrace trace(scope);
    if (!m_provider || !m_frame) return E_FAIL;
    CMeetingLibObject<IQKMeetingPages> pages(CLSID_QKMeetingPages);
    if (!pages) return E_FAIL;
    CStringEx address;
    if (!m_provider->GetMeetingDetailUrl(meetingKey, nullptr, address) || address.IsEmpty()) return E_FAIL;
    const HRESULT hr = pages->OpenAddress(m_hWnd, Bstr(address.c_str()).get());
    return FAILED(hr) ? E_FAIL : S_OK;
}

HRESULT CMeetingListView::EditMeeting(BSTR meetingKey) {
    return OpenDetailPage(meetingKey, "CMeetingListView::EditMeeting");
}

HRESULT CMeetingListView::ViewMeetingDetail(BSTR meetingKey) {
    return OpenDetailPage(meetingKey, "CMeetingListView::ViewMeetingDetail");
}

void CMeetingListView::PopupBubble(const RECT* itemRect, INT32 index, HWND item) {
    if (!itemRect || index < 0) TraceText(2, "CMeetingListView::PopupBubble::Invalid input");
    const HWND frame = FrameWindow();
    if (frame && ::GetActiveWindow() != frame) return;
    if (!m_provider || !itemRect || index < 0) return;
    const RECT anchor = *itemRect;
    CBubblePara para;
    m_provider->GetMeetingDetailInfo(index, &para);
    if (m_bubble) m_bubble->CreateMyWindow(item, anchor, para);
    m_bubbleIndex = index;
}
