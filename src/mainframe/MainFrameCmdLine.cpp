// Command lines handed to the frame by the host or by a second instance.
#include <windows.h>

#include <cwchar>

#include "ComHolders.h"
#include "CommandLine.h"
#include "Trace.h"
#include "MainFrame.h"

namespace {
constexpr wchar_t kAutoRun[] = L"/AutoRun";
constexpr wchar_t kOpenSetting[] = L"/OpenSetting";
constexpr wchar_t kOpenSettingShown[] = L"/OpenSetting=1";
constexpr wchar_t kSwitchAccount[] = L"/SwitchAccount";
constexpr wchar_t kSignOut[] = L"/SignOut";
constexpr wchar_t kSwitchToError[] = L"SwitchtoError";
constexpr wchar_t kErrorPrefix[] = L"Error=";
constexpr wchar_t kReSignin[] = L"ReSignin";

bool SameText(const std::wstring& text, const wchar_t* other) { return ::_wcsicmp(text.c_str(), other) == 0; }

// Errors whose new sign-in asks the login module to keep what the user typed.
bool KeepsTypedAccount(long code) { return code == 4 || code == 6 || code == 35; }
}  // namespace

BOOL CMainFrame::IsStartByAutoRun() {
    if (!m_host) return FALSE;
    Bstr commandLine;
    if (FAILED(m_host->GetCommandLine(commandLine.receive()))) return FALSE;
    return commandLine.str().find(kAutoRun) != std::wstring::npos;
}

LRESULT CMainFrame::OnCopyDataMessage(UINT, WPARAM, LPARAM lParam, BOOL&) {
    try {
        OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    } catch (...) {
        TraceText(8, "CMainFrame::OnCopyData failed");
    }
    return TRUE;
}

void CMainFrame::OnCopyData(const COPYDATASTRUCT* record) {
    CAutoFunTrace trace("CMainFrame::OnCopyData");
    if (!record || !record->lpData || record->cbData == 0) {
        TraceText(8, "pCDS is NULL");
        return;
    }
    if (record->dwData != kCopyDataTag) return;
    // The sender's text need not end inside the record.
    const std::wstring sent(static_cast<const wchar_t*>(record->lpData), record->cbData / sizeof(wchar_t));
    auto arguments = ArgumentsAfterProgram(sent.c_str());
    if (!arguments) return;
    m_commandLine = std::move(*arguments);
    TraceText(4, m_commandLine.c_str());

    if (m_commandLine.empty()) {
        if (IsSignedIn()) {
            OpenMainFrame();
        } else {
            OpenLoginModule(TRUE);
        }
        return;
    }
    if (IsSignedIn()) {
        ::SetTimer(m_hWnd, kCommandLineTimer, kCommandLineDelayMs, nullptr);
        return;
    }
    // Settings cannot open before sign-in; anything else waits for it.
    if (m_commandLine.rfind(kOpenSetting, 0) == 0) m_commandLine.clear();
    OpenLoginModule(TRUE);
}

void CMainFrame::HandleCmdLine() {
    CAutoFunTrace trace("CMainFrame::HandleCmdLine");
    if (m_commandLine.empty()) return;
    const std::wstring text = m_commandLine;
    if (SameText(text, kOpenSetting) || SameText(text, kOpenSettingShown)) {
        OpenSetting();
    } else if (SameText(text, kSwitchAccount)) {
        PostCommand(kCmdSwitchAccount);
    } else if (SameText(text, kSignOut)) {
        PostCommand(kCmdLogOut);
    } else if (text.find(kSwitchToError) != std::wstring::npos) {
        const size_t at = text.find(kErrorPrefix);
        if (at != std::wstring::npos) {
            const long code = std::wcstol(text.c_str() + at + std::wcslen(kErrorPrefix), nullptr, 10);
            SignInAgainWithError(code, 0, KeepsTypedAccount(code) ? 1 : 0);
        }
    } else if (text.find(kReSignin) != std::wstring::npos) {
        RequestReSignin();
    }
    m_commandLine.clear();
}
