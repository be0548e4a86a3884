#pragma once
// Asks the user at the computer whether a meeting the desk phone asked for
// may start. Modeless; it answers the window to notify with one posted
// message (accepted, declined or timed out) and then destroys itself.
#include <windows.h>

#include <string>

#include "DialogBase.h"
#include "ResourceIds.h"

class CDlgIpphoneStartMeetingConfirm : public CDialogBase {
public:
    static constexpr UINT kStartTemplate = IDD_PHONE_START_CONFIRM;
    static constexpr UINT kJoinTemplate = IDD_PHONE_JOIN_CONFIRM;
    static constexpr UINT_PTR kAnswerTimer = 101;
    static constexpr UINT kAnswerTimeoutMs = 120000;
    static constexpr int kTextControl = IDC_CONFIRM_TOPIC;
    static constexpr int kAlwaysCheck = IDC_CONFIRM_ALWAYS;
    static constexpr int kBottomText = IDC_CONFIRM_BOTTOM_TEXT;
    static constexpr int kCloseCommand = 8;
    static constexpr UINT kTopicSuffixString = IDS_PHONE_TOPIC_SUFFIX;
    static constexpr UINT kNoTopicString = IDS_PHONE_NO_TOPIC;
    static constexpr int kHiddenRowHeight = 20;
    static constexpr const wchar_t* kSettingsKey = L"SOFTWARE\\Zorvan\\Quillkit";
    static constexpr const wchar_t* kAlwaysStartValue = L"AlwaysStartFromIpphone";

    // Opens a dialog that deletes itself when its window goes; answers its
    // window, or null when it answered at once or could not be opened.
    static HWND Open(int type, HWND notify, const std::wstring& topic);

    CDlgIpphoneStartMeetingConfirm(int type, HWND notify, std::wstring topic);
    ~CDlgIpphoneStartMeetingConfirm() override = default;

    [[nodiscard]] static UINT TemplateFor(int type) noexcept;

    BEGIN_MSG_MAP(CDlgIpphoneStartMeetingConfirm)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(kCloseCommand, OnCancel)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

protected:
    void OnFinalMessage(HWND hwnd) override;

private:
    [[nodiscard]] bool IsCallback() const noexcept { return m_nType == 3 || m_nType == 4; }
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD code, WORD id, HWND control, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnTimer(UINT, WPARAM timer, LPARAM, BOOL& handled);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
    void Answer(UINT message);
    void SetMessageText();
    void HideCallbackRows();

    int m_nType;
    std::wstring m_strTopic;
    HWND m_hNotify;
    bool m_answered = false;
    bool* m_pCreated = nullptr;  // set while Open waits for the window
};
