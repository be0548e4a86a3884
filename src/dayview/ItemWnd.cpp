#include "ItemWnd.h"

#include <algorithm>

#include "DcGuards.h"
#include "FontPool.h"
#include "ModuleState.h"
#include "Trace.h"
#include "UniqueHandle.h"
#include "ItemRules.h"
#include "TimeApi.h"
#include "VelGdiplus.h"
#include "ResourceIds.h"

namespace {
// Indexes into the shared font cache (all Tahoma).
enum FontIndex : int {
    kRegular11 = 1,
    kRegular12 = 2,
    kRegular13 = 3,
    kRegular14 = 4,
    kBold12 = 11,
    kBold14 = 13,
};
constexpr int kButtonTextMargin = 8;
constexpr COLORREF kButtonText = RGB(255, 255, 255);
constexpr COLORREF kButtonSecondaryText = RGB(51, 51, 51);
constexpr COLORREF kButtonDisabledText = RGB(153, 153, 153);
constexpr UINT kSecondaryImages[4] = {IDIMG_MEETING_SECONDARY_NORMAL, IDIMG_MEETING_SECONDARY_PUSHED,
                                      IDIMG_MEETING_SECONDARY_HOT, IDIMG_MEETING_SECONDARY_DISABLED};

CStringEx LoadText(UINT id) {
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), id);
    return text;
}

// Today at 12:59:59 in the user's time format: the widest time of day in most
// formats, so every item's time column lines up.
const CStringEx& SampleTime() {
    static const CStringEx sample = [] {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        now.wHour = 12;
        now.wMinute = 59;
        now.wSecond = 59;
        now.wMilliseconds = 0;
        CStringEx text;
        CTimeApi::GetLocalTimeString(&now, text);
        return text;
    }();
    return sample;
}

int MeasureWith(HWND window, HFONT font, const wchar_t* text) {
    if (!text || !*text) return 0;
    WindowDC dc(window);
    SelectGuard selected(dc.get(), font);
    RECT rect{0, 0, 0, 0};
    ::DrawTextW(dc.get(), text, -1, &rect, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    return rect.right - rect.left;
}
}  // namespace

struct CItemWnd::ButtonState {
    UINT caption = 0;       // 0 leaves the caption
    int enabled = -1;       // -1 leaves the enabled state
    bool show = false;
    UINT statusText = 0;
    bool statusShown = false;
};

CItemWnd::CItemWnd(IFrameServices* frame) noexcept : CDialogBase(kNormalTemplate), m_frame(frame) {}

CItemWnd::~CItemWnd() = default;

HWND CItemWnd::Create(HWND parent, UINT templateId, BOOL tall) {
    if (!::IsWindow(parent)) {
        TraceError("Parent window is not a real window. Returned\n");
        return nullptr;
    }
    m_bTall = tall;
    SetTemplateId(templateId);
    return CDialogBase::Create(parent);
}

LRESULT CItemWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CFontPool& fonts = CFontPool::Instance();
    const bool tall = m_bTall != FALSE;

    m_startTime.Attach(m_hWnd, kIdStartTime, fonts.GetFont(tall ? kBold14 : kRegular11));
    m_startTime.SetText(SampleTime().c_str());
    RECT timeRect = m_startTime.GetRectInParent();
    timeRect.right = timeRect.left + m_startTime.MeasureText(SampleTime().c_str()) + 10;
    m_startTime.Move(timeRect);

    m_topic.Attach(m_hWnd, kIdTopic, fonts.GetFont(tall ? kBold14 : kBold12));
    m_rcTopicHome = m_topic.GetRectInParent();
    if (!tall) m_rcTopicHome.left = timeRect.right;

    m_label1057.Attach(m_hWnd, kIdLabel1057, fonts.GetFont(tall ? kRegular14 : kRegular13));
    m_label1059.Attach(m_hWnd, kIdLabel1059, fonts.GetFont(kRegular11));
    m_hostLine.Attach(m_hWnd, kIdHostLine, fonts.GetFont(kRegular11));
    m_label1058.Attach(m_hWnd, kIdLabel1058, fonts.GetFont(kRegular14));
    m_statusLabel.Attach(m_hWnd, kIdStatusLabel, fonts.GetFont(kRegular11));
    m_strHostCaption = m_hostLine.GetText();
    m_rcHostHome = m_hostLine.GetRectInParent();

    if (HWND button = ::GetDlgItem(m_hWnd, kIdMeetingButton); button && m_meetingButton.SubclassWindow(button)) {
        m_meetingButton.SetImages(kPrimaryImages, kPrimaryImages + 1, kPrimaryImages + 2, kPrimaryImages + 3);
        m_meetingButton.SetTextColors(kButtonText, kButtonDisabledText);
        m_meetingButton.SetLeftMargin(kButtonTextMargin);
        HFONT font = fonts.GetFont(kBold14);
        m_meetingButton.SetFonts(font, font);
        // Sized once for the longest caption it will ever show; the earlier wins a tie.
        CStringEx longest;
        for (UINT id : {kRestartString, kStartString, kJoinString}) {
            CStringEx caption = LoadText(id);
            if (caption.GetLength() > longest.GetLength()) longest = caption;
        }
        ::SetWindowTextW(button, longest.c_str());
        RECT rect = ChildRect(button);
        const int width = MeasureWith(button, font, longest.c_str()) + 2 * kButtonTextMargin + 4;
        ::SetWindowPos(button, nullptr, rect.right - width, rect.top, width, rect.bottom - rect.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        m_nLook = 1;
    }
    if (HWND indicator = ::GetDlgItem(m_hWnd, kIdRecording); indicator && m_recordingButton.SubclassWindow(indicator)) {
        m_recordingButton.SetImages(kRecordingImage, kRecordingImage, kRecordingImage, kRecordingImage);
        m_recordingButton.SetToolTipText(kRecordingTipString);
    }
    ApplyBackgroundToButtons(BackgroundColor());
    return FALSE;
}

SIZE CItemWnd::TemplateSize(UINT templateId) {
    CItemWnd probe(nullptr);
    UniqueHwnd parent(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    RECT rect{};
    if (probe.Create(parent.get(), templateId, templateId == kTallTemplate)) ::GetWindowRect(probe.m_hWnd, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

HRESULT CItemWnd::RefreshItemWnd(const CMeetingRecord& meeting) {
    if (!m_hWnd) {
        TraceError("CItemWnd::RefreshItemWnd  NULL == m_hWnd");
        return E_FAIL;
    }
    m_meeting = meeting;
    const DATE now = CTimeApi::GetLocalNow();
    m_bPast = ItemRules::IsPast(m_meeting, now) ? TRUE : FALSE;

    // The indicator's visibility is settled first: the topic's room depends on it.
    if (m_recordingButton.IsWindow()) {
        const bool shown = m_meeting.m_bHasRecording &&
                           (ItemRules::IsHostRole(m_meeting) || !ItemRules::CanRestart(m_meeting, now));
        ::EnableWindow(m_recordingButton.m_hWnd, FALSE);
        ::ShowWindow(m_recordingButton.m_hWnd, shown ? SW_SHOWNA : SW_HIDE);
    }
    RefreshButtonState(true);

    SYSTEMTIME start{};
    if (::VariantTimeToSystemTime(m_meeting.m_dtStart, &start)) {
        CStringEx text;
        CTimeApi::GetLocalTimeString(&start, text);
        m_startTime.SetText(text.c_str());
    }
    if (m_bTall) SetHostLine();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return S_OK;
}

CItemWnd::ButtonState CItemWnd::EvaluateButton(bool forced, DATE now) {
    ButtonState state;
    const bool host = ItemRules::IsHostRole(m_meeting);
    if (!m_bTall) {
        m_bCanJoinBeforeHost = FALSE;
        if (!host) return state;
        const bool restart = ItemRules::CanRestart(m_meeting, now);
        const bool start = !restart && ItemRules::CanStart(m_meeting, now);
        state.caption = restart ? static_cast<UINT>(kRestartString) : (start ? static_cast<UINT>(kStartString) : 0u);
        state.enabled = 1;
        state.show = !forced && (restart || start) && IsCursorOverItem();
        return state;
    }
    m_bInProgress = FALSE;
    m_bCanJoinBeforeHost = FALSE;
    switch (m_meeting.m_nStatus) {
    case MeetingStatus::None:
        if (!host) {
            state = {kJoinString, 0, true, kNotStartedString, true};
        }
        break;
    case MeetingStatus::Upcoming:
        if (host) {
            const bool start = ItemRules::CanStart(m_meeting, now);
            state = {kStartString, start ? 1 : 0, start, 0, false};
        } else {
            const bool early = ItemRules::CanJoinBeforeHost(m_meeting, now);
            m_bCanJoinBeforeHost = early ? TRUE : FALSE;
            state = {kJoinString, early ? 1 : 0, true, early ? 0u : static_cast<UINT>(kNotStartedString), !early};
        }
        break;
    case MeetingStatus::InProgress:
        state = {kJoinString, 1, true, kInProgressString, true};
        m_bInProgress = TRUE;
        break;
    default:
        break;
    }
    return state;
}

void CItemWnd::RefreshButtonState(bool forced) {
    if (!m_meetingButton.IsWindow()) return;
    const DATE now = CTimeApi::GetLocalNow();
    const ButtonState state = EvaluateButton(forced, now);
    HWND button = m_meetingButton.m_hWnd;

    if (state.caption) {
        const CStringEx caption = LoadText(state.caption);
        if (!caption.IsEmpty() && !(caption == ButtonText())) ::SetWindowTextW(button, caption.c_str());
    }
    if (state.enabled >= 0) ::EnableWindow(button, state.enabled);

    bool primary = m_bTall != FALSE;
    if (primary && ItemRules::IsHostRole(m_meeting) && ButtonText() == LoadText(kJoinString) &&
        CTimeApi::GetSecondsBetween(m_meeting.m_dtStart, now) > kHostJoinLookSeconds)
        primary = false;
    if (forced || m_nLook != (primary ? 1 : 0)) ApplyLook(primary);

    const BOOL show = state.show ? TRUE : FALSE;
    if (forced || show != m_bButtonShown) {
        ::ShowWindow(button, show ? SW_SHOWNA : SW_HIDE);
        m_bButtonShown = show;
        // A tall item's topic does not depend on the hover, so only a refill moves it.
        if (forced || !m_bTall) LayoutTopic();
    }

    if (m_statusLabel.Exists()) {
        if (state.statusText) {
            const CStringEx text = LoadText(state.statusText);
            if (!text.IsEmpty() && !(text == m_statusLabel.GetText())) {
                m_statusLabel.SetText(text.c_str());
                m_statusLabel.FitText();
            }
        }
        m_statusLabel.Show(state.statusShown);
    }
}

void CItemWnd::ApplyLook(bool primary) {
    CFontPool& fonts = CFontPool::Instance();
    if (primary) {
        m_meetingButton.SetImages(kPrimaryImages, kPrimaryImages + 1, kPrimaryImages + 2, kPrimaryImages + 3);
        m_meetingButton.SetTextColors(kButtonText, kButtonDisabledText);
        HFONT font = fonts.GetFont(kBold14);
        m_meetingButton.SetFonts(font, font);
    } else {
        m_meetingButton.SetImages(kSecondaryImages[0], kSecondaryImages[1], kSecondaryImages[2], kSecondaryImages[3]);
        m_meetingButton.SetTextColors(kButtonSecondaryText, kButtonDisabledText);
        HFONT font = fonts.GetFont(kRegular12);
        m_meetingButton.SetFonts(font, font);
    }
    m_nLook = primary ? 1 : 0;
    m_meetingButton.Repaint();
}

void CItemWnd::LayoutTopic() {
    if (!m_topic.Exists()) return;
    RECT rect = m_rcTopicHome;
    if (m_bButtonShown && m_meetingButton.IsWindow()) rect.right = ChildRect(m_meetingButton.m_hWnd).left - 2;
    SIZE size{};
    auto makeRoom = [&](UINT imageId) {
        if (CVelGdiplus::GetImageSize(size, imageId)) rect.right -= size.cx + 2;
    };
    for (UINT icon : TopicIcons()) makeRoom(icon);
    if (m_recordingButton.IsWindow() && ::IsWindowVisible(m_recordingButton.m_hWnd)) {
        const RECT indicator = ChildRect(m_recordingButton.m_hWnd);
        rect.right -= (indicator.right - indicator.left) + 2;
    }
    if (rect.right < rect.left) rect.right = rect.left;
    m_topic.Move(rect);
    m_topic.SetText(ItemRules::EscapeMnemonics(m_meeting.m_strTopic).c_str());
    m_topic.SetFitWidth(rect.right - rect.left);
    m_topic.FitText();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

std::vector<UINT> CItemWnd::TopicIcons() const {
    std::vector<UINT> icons;
    if (m_meeting.m_bRecurring)
        icons.push_back(kRecurringImage);
    else if (m_meeting.m_bException)
        icons.push_back(kExceptionImage);
    if (m_meeting.m_nServiceType == MeetingService::Event)
        icons.push_back(kServiceRxImage);
    else if (m_meeting.m_nServiceType == MeetingService::Training)
        icons.push_back(kServiceRyImage);
    return icons;
}

void CItemWnd::SetHostLine() {
    if (!m_meeting.m_bProminent || !m_hostLine.Exists()) return;
    RECT rect = m_rcHostHome;
    if (m_bButtonShown && m_meetingButton.IsWindow()) rect.right = ChildRect(m_meetingButton.m_hWnd).left;
    m_hostLine.Move(rect);
    const CStringEx line =
        ItemRules::HostLine(m_strHostCaption, m_meeting.m_strHostName, ItemRules::DurationText(m_meeting),
                            rect.right - rect.left, [this](const wchar_t* text) { return m_hostLine.MeasureText(text); });
    m_hostLine.SetText(line.c_str());
    m_hostLine.SetFitWidth(rect.right - rect.left);
    m_hostLine.FitText();
}

void CItemWnd::SetHighlight(BOOL highlighted) {
    highlighted = highlighted ? TRUE : FALSE;
    if (highlighted == m_bHighlighted) return;
    m_bHighlighted = highlighted;
    ApplyBackgroundToButtons(BackgroundColor());
    if (m_hWnd) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

COLORREF CItemWnd::BackgroundColor() const noexcept {
    if (m_bHighlighted) return kHighlightTop;
    return m_bTall ? kTallBackground : kNormalBackground;
}

void CItemWnd::ApplyBackgroundToButtons(COLORREF color) {
    for (CPngButton* button : {&m_meetingButton, &m_recordingButton}) {
        if (!button->IsWindow() || button->GetBackgroundColor() == color) continue;
        button->SetBackgroundColor(color);
        button->Repaint();
    }
}

void CItemWnd::StartHoverTimer() {
    if (!m_hWnd) return;
    m_nHoverTimer = static_cast<UINT>(::SetTimer(m_hWnd, kHoverTimer, kHoverPeriodMs, nullptr));
}

void CItemWnd::StopHoverTimer() {
    if (m_hWnd && m_nHoverTimer) ::KillTimer(m_hWnd, kHoverTimer);
    m_nHoverTimer = 0;
    m_nHoverTime = 0;
}

LRESULT CItemWnd::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    if (wParam != kHoverTimer) {
        handled = FALSE;
        return 0;
    }
    RefreshButtonState(false);
    if (IsCursorOverItem()) {
        m_nHoverTime += static_cast<int>(kHoverPeriodMs);
        if (m_nHoverTime >= kHoverBubbleMs) {
            ShowBubble();
            m_nHoverTime = 0;
        }
    } else {
        m_nHoverTime = 0;
    }
    return 0;
}

LRESULT CItemWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    StopHoverTimer();
    handled = FALSE;
    return 0;
}

bool CItemWnd::IsCursorOverItem() const {
    if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return false;
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) return false;
    HWND under = ::WindowFromPoint(cursor);
    return under == m_hWnd || (under && ::GetParent(under) == m_hWnd);
}

CStringEx CItemWnd::ButtonText() const {
    wchar_t text[128] = {};
    if (m_meetingButton.IsWindow()) ::GetWindowTextW(m_meetingButton.m_hWnd, text, 128);
    return CStringEx(text);
}

RECT CItemWnd::ChildRect(HWND child) const {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
