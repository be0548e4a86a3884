#include "DlgIpphoneStartMeetingConfirm.h"

#include <algorithm>
#include <vector>

#include "DcGuards.h"
#include "ModuleState.h"
#include "Registry.h"
#include "Trace.h"
#include "IPPhoneDefs.h"
#include "ModelessDialogs.h"

namespace {
std::wstring ResourceString(UINT id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(ModuleState::ResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

void MoveUp(HWND dialog, int id, int by) {
    const HWND control = ::GetDlgItem(dialog, id);
    if (!control) return;
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    ::SetWindowPos(control, nullptr, rect.left, rect.top - by, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

HWND CDlgIpphoneStartMeetingConfirm::Open(int type, HWND notify, const std::wstring& topic) {
    auto* dialog = new CDlgIpphoneStartMeetingConfirm(type, notify, topic);
    bool created = false;
    dialog->m_pCreated = &created;
    const HWND hwnd = dialog->Create(notify);
    // Once the window existed, its last message deleted the object; a
    // template that could not be loaded never made one.
    // A dialog that answered during its creation is gone already, though some
    // systems still hand back its old handle.
    if (!hwnd || !::IsWindow(hwnd)) {
        if (!created) delete dialog;
        return nullptr;
    }
    dialog->m_pCreated = nullptr;
    return hwnd;
}

CDlgIpphoneStartMeetingConfirm::CDlgIpphoneStartMeetingConfirm(int type, HWND notify, std::wstring topic)
    : CDialogBase(TemplateFor(type)), m_nType(type), m_strTopic(std::move(topic)), m_hNotify(notify) {}

UINT CDlgIpphoneStartMeetingConfirm::TemplateFor(int type) noexcept {
    return type == 2 || type == 4 || type < 0 ? kJoinTemplate : kStartTemplate;
}

void CDlgIpphoneStartMeetingConfirm::OnFinalMessage(HWND) { delete this; }

LRESULT CDlgIpphoneStartMeetingConfirm::OnTimer(UINT, WPARAM timer, LPARAM, BOOL& handled) {
    if (timer != kAnswerTimer) {
        handled = FALSE;
        return 0;
    }
    ::KillTimer(m_hWnd, kAnswerTimer);
    Answer(IPPhone::MSG_AP_BOSHCONFIRMTIMEOUT);
    ::DestroyWindow(m_hWnd);
    return 0;
}

LRESULT CDlgIpphoneStartMeetingConfirm::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kAnswerTimer);
    handled = FALSE;
    return 0;
}

LRESULT CDlgIpphoneStartMeetingConfirm::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_pCreated) *m_pCreated = true;
    if (IsCallback()) {
        DWORD always = 0;
        if (CRegistry::ReadDword(HKEY_CURRENT_USER, kSettingsKey, kAlwaysStartValue, &always) && always == 1) {
            Answer(IPPhone::MSG_AP_BOSHCONFIRMOK);
            ::DestroyWindow(m_hWnd);
            return FALSE;
        }
    }
    ModelessDialogs::Add(m_hWnd);
    ::SetTimer(m_hWnd, kAnswerTimer, kAnswerTimeoutMs, nullptr);
    SetMessageText();
    if (!IsCallback()) HideCallbackRows();

    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    return FALSE;
}

void CDlgIpphoneStartMeetingConfirm::SetMessageText() {
    const HWND control = ::GetDlgItem(m_hWnd, kTextControl);
    if (!control) return;
    if (m_strTopic.empty()) {
        ::SetWindowTextW(control, ResourceString(kNoTopicString).c_str());
        return;
    }
    std::wstring text = m_strTopic;
    RECT client{};
    ::GetClientRect(control, &client);
    {
        WindowDC dc(control);
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
        SelectGuard select(dc.get(), font);
        int fit = 0;
        SIZE size{};
        ::GetTextExtentExPointW(dc.get(), text.c_str(), static_cast<int>(text.size()), client.right, &fit, nullptr, &size);
        if (fit < static_cast<int>(text.size())) text = text.substr(0, static_cast<size_t>(std::max(fit - 4, 0))) + L"... ";
    }
    text += ResourceString(kTopicSuffixString);
    ::SetWindowTextW(control, text.c_str());
}

void CDlgIpphoneStartMeetingConfirm::HideCallbackRows() {
    int shift = 0;
    for (int id : {kTextControl, kAlwaysCheck}) {
        if (const HWND control = ::GetDlgItem(m_hWnd, id)) {
            ::ShowWindow(control, SW_HIDE);
            shift += kHiddenRowHeight;
        }
    }
    for (int id : {IDOK, IDCANCEL, kBottomText}) MoveUp(m_hWnd, id, shift);
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top - shift,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CDlgIpphoneStartMeetingConfirm::OnOk(WORD code, WORD, HWND control, BOOL&) {
    Answer(IPPhone::MSG_AP_BOSHCONFIRMOK);
    // Only a press of the button itself may remember the choice.
    if (IsCallback() && control && code == BN_CLICKED && ::IsDlgButtonChecked(m_hWnd, kAlwaysCheck) == BST_CHECKED) {
        if (!CRegistry::WriteDword(HKEY_CURRENT_USER, kSettingsKey, kAlwaysStartValue, 1))
            TraceText(8, "CDlgIpphoneStartMeetingConfirm::OnCommand write AlwaysStartFromIpphone fail");
    }
    ::DestroyWindow(m_hWnd);
    return 0;
}

LRESULT CDlgIpphoneStartMeetingConfirm::OnCancel(WORD, WORD, HWND, BOOL&) {
    Answer(IPPhone::MSG_AP_BOSHCONFIRMNO);
    ::DestroyWindow(m_hWnd);
    return 0;
}

void CDlgIpphoneStartMeetingConfirm::Answer(UINT message) {
    if (m_answered) return;
    m_answered = true;
    if (m_hNotify) ::PostMessageW(m_hNotify, message, 0, 0);
}
