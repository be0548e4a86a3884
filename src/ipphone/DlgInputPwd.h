#pragma once
// Asks for the password of a meeting being joined. Modal, white and with the
// toolkit's drop shadow; DoModal answers IDOK with the entered text in Password().
#include <windows.h>

#include "StringEx.h"
#include "DlgMsg.h"
#include "PngButton.h"
#include "VelEditbox.h"
#include "VelStaticEx.h"
#include "ResourceIds.h"

class CDlgInputPwd : public CDlgMsg {
public:
    enum { IDD = IDD_MEETING_PASSWORD };
    static constexpr int kEdit = IDC_PASSWORD_EDIT;
    static constexpr int kPrompt = IDC_PASSWORD_PROMPT;
    static constexpr int kMaxPassword = 511;
    // Pictures of the OK button: normal, pushed, hot, disabled.
    static constexpr UINT kOkImages[4] = {IDIMG_MEETING_PRIMARY_NORMAL, IDIMG_MEETING_PRIMARY_PUSHED, IDIMG_MEETING_PRIMARY_HOT,
                                           IDIMG_MEETING_PRIMARY_DISABLED};
    static constexpr int kTextFont = 2;
    static constexpr int kPromptFont = 11;

    CDlgInputPwd() : CDlgMsg(IDD) {}

    [[nodiscard]] const CStringEx& Password() const noexcept { return m_strPassword; }

    BEGIN_MSG_MAP(CDlgInputPwd)
        CHAIN_MSG_MAP(CDlgMsg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_HANDLER(kEdit, EN_CHANGE, OnEditChange)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEditChange(WORD, WORD, HWND, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    void UpdateOkButton() const;

    CStringEx m_strPassword;
    CVelStaticEx m_prompt;
    CVelEditbox m_edit;
    CPngButton m_okButton;
};
