#include "DlgInputPwd.h"

#include "FontPool.h"
#include "Trace.h"

LRESULT CDlgInputPwd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    HFONT promptFont = nullptr;
    if (CFontPool::Exists()) {
        CFontPool& pool = CFontPool::Instance();
        const HFONT text = pool.GetFont(kTextFont);
        promptFont = pool.GetFont(kPromptFont);
        ::SendDlgItemMessageW(m_hWnd, kEdit, WM_SETFONT, reinterpret_cast<WPARAM>(text), FALSE);
        m_okButton.SetFonts(text, text);
    } else {
        TraceText(8, "Get Font Pool failed in the initdialog of input pwd dialog!");
    }
    m_edit.Attach(m_hWnd, kEdit);
    m_prompt.Attach(m_hWnd, kPrompt, promptFont);
    ::SendDlgItemMessageW(m_hWnd, kEdit, EM_LIMITTEXT, kMaxPassword, 0);
    if (m_okButton.SubclassWindow(::GetDlgItem(m_hWnd, IDOK)))
        m_okButton.SetImages(kOkImages[0], kOkImages[1], kOkImages[2], kOkImages[3]);
    UpdateOkButton();
    return TRUE;  // the edit box keeps the focus the dialog gave it
}

LRESULT CDlgInputPwd::OnEditChange(WORD, WORD, HWND, BOOL&) {
    UpdateOkButton();
    return 0;
}

void CDlgInputPwd::UpdateOkButton() const {
    const bool hasText = ::GetWindowTextLengthW(::GetDlgItem(m_hWnd, kEdit)) > 0;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), hasText ? TRUE : FALSE);
}

LRESULT CDlgInputPwd::OnOk(WORD, WORD, HWND, BOOL&) {
    wchar_t text[kMaxPassword + 1] = {};
    ::GetDlgItemTextW(m_hWnd, kEdit, text, kMaxPassword + 1);
    m_strPassword = text;
    EndDialog(IDOK);
    return 0;
}

LRESULT CDlgInputPwd::OnCancel(WORD, WORD, HWND, BOOL&) {
    EndDialog(IDCANCEL);
    return 0;
}
