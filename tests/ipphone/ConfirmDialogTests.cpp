// The user's confirmation of a phone request as a real dialog of the resource
// library, answered through its buttons, its two-minute limit and the
// "always start" choice.
#include <gtest/gtest.h>

#include "support/RegistryValues.h"
#include "DlgIpphoneStartMeetingConfirm.h"
#include "PhoneFixture.h"
#include "support/TestSupport.h"

using namespace IPPhone;
using namespace phonetest;
using Dlg = CDlgIpphoneStartMeetingConfirm;

namespace {
using testsupport::ResourceText;
using testsupport::WindowText;

int Height(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

int TopIn(HWND dialog, int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    return rect.top;
}

class ConfirmDialogTest : public PhoneTest {
protected:
    void SetUp() override {
        PhoneTest::SetUp();
        always.RemoveAll();
        CIPPhoneBoshCmd::SetConfirmDialogOpener(nullptr);
    }
    // A request that needs the user's confirmation; answers the dialog.
    HWND Ask(const wchar_t* command, const std::wstring& topic) {
        Receive(Request(command, L"c1", L"<HeadCount>4</HeadCount><MeetingKey>42</MeetingKey><MeetingTopic>" + topic +
                                            L"</MeetingTopic>"));
        Pump();
        return handler.Current() ? handler.Current()->ConfirmDialog() : nullptr;
    }
    DWORD Always() const {
        DWORD value = 0, size = sizeof(value);
        if (::RegGetValueW(HKEY_CURRENT_USER, Dlg::kSettingsKey, Dlg::kAlwaysStartValue, RRF_RT_REG_DWORD, nullptr,
                           &value, &size) != ERROR_SUCCESS)
            return 0xFFFFFFFF;
        return value;
    }
    int SentCode() {
        const auto sent = TakeSent();
        if (sent.size() != 1) return 99;
        const size_t at = sent[0].xml.find(L"<ResultCode>");
        return at == std::wstring::npos ? 98 : std::stoi(sent[0].xml.substr(at + 12));
    }

    SavedRegistryValues always{HKEY_CURRENT_USER, Dlg::kSettingsKey, {Dlg::kAlwaysStartValue}};
};
}  // namespace

TEST_F(ConfirmDialogTest, ACallBackAcceptedWithTheCheckBoxIsRememberedAndThenNeverAskedAgain) {
    const HWND dialog = Ask(L"StartMeetingCallBack", L"Budget");
    ASSERT_TRUE(::IsWindow(dialog));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_NE(0, ::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(window.m_hWnd, ::GetWindow(dialog, GW_OWNER));
    EXPECT_EQ(L"Budget" + ResourceText(Dlg::kTopicSuffixString), WindowText(::GetDlgItem(dialog, Dlg::kTextControl)));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, Dlg::kAlwaysCheck)));
    EXPECT_TRUE(TakeCalls().empty());

    ::SendDlgItemMessageW(dialog, Dlg::kAlwaysCheck, BM_CLICK, 0, 0);
    ::SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(1u, Always());
    Pump();
    EXPECT_EQ(1, SentCode());
    EXPECT_EQ(2u, TakeCalls().size()) << "accepted: the start reached the library";
    ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCMDCANCEL, 0, 0);

    for (const wchar_t* command : {L"JoinMeetingCallBack", L"StartMeetingCallBack"}) {
        EXPECT_EQ(nullptr, Ask(command, L"Budget")) << "accepted without a dialog";
        Pump();
        EXPECT_EQ(1, SentCode()) << command;
        EXPECT_EQ(2u, TakeCalls().size()) << command;
        ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCMDCANCEL, 0, 0);
    }
    // The choice holds for call-backs only.
    const HWND instant = Ask(L"InstantMeeting", L"");
    EXPECT_TRUE(::IsWindow(instant));
}

TEST_F(ConfirmDialogTest, TheCheckBoxCountsOnlyFromTheButton) {
    always.SetDword(Dlg::kAlwaysStartValue, 0);
    const HWND dialog = Ask(L"JoinMeetingCallBack", L"Review");
    ASSERT_TRUE(::IsWindow(dialog));
    ::CheckDlgButton(dialog, Dlg::kAlwaysCheck, BST_CHECKED);
    // The same command without the button, as a keyboard accelerator would send it.
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(0u, Always());
    Pump();
    EXPECT_EQ(1, SentCode());
}

TEST_F(ConfirmDialogTest, RequestsWithoutCallBackHideTheTextAndTheCheckBoxAndShrink) {
    const HWND callback = Ask(L"StartMeetingCallBack", L"T");
    ASSERT_TRUE(::IsWindow(callback));
    const int fullHeight = Height(callback);
    const int fullOk = TopIn(callback, IDOK) - TopIn(callback, Dlg::kTextControl);
    ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCMDCANCEL, 0, 0);
    EXPECT_FALSE(::IsWindow(callback)) << "ending the command closes the dialog without an answer";
    EXPECT_TRUE(TakeSent().empty());

    const HWND start = Ask(L"StartMeeting", L"T");
    ASSERT_TRUE(::IsWindow(start));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(start, Dlg::kTextControl)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(start, Dlg::kAlwaysCheck)));
    EXPECT_EQ(fullHeight - 2 * Dlg::kHiddenRowHeight, Height(start));
    EXPECT_EQ(fullOk - 2 * Dlg::kHiddenRowHeight, TopIn(start, IDOK) - TopIn(start, Dlg::kTextControl));
    EXPECT_NE(WindowText(start), L"");
}

TEST_F(ConfirmDialogTest, CancelCloseAndTheTwoMinuteLimitAnswerOnce) {
    const struct {
        UINT message;
        WPARAM wParam;
        int code;
    } cases[] = {
        {WM_COMMAND, IDCANCEL, 2},
        {WM_COMMAND, Dlg::kCloseCommand, 2},
        {WM_TIMER, Dlg::kAnswerTimer, 3},
    };
    for (const auto& c : cases) {
        const HWND dialog = Ask(L"JoinMeeting", L"");
        ASSERT_TRUE(::IsWindow(dialog));
        EXPECT_TRUE(::KillTimer(dialog, Dlg::kAnswerTimer)) << "the limit runs while the dialog is open";
        ::SendMessageW(dialog, c.message, c.wParam, 0);
        EXPECT_FALSE(::IsWindow(dialog));
        Pump();
        EXPECT_EQ(c.code, SentCode()) << c.wParam;
        EXPECT_EQ(nullptr, handler.Current());
        EXPECT_TRUE(TakeCalls().empty());
    }
}

TEST_F(ConfirmDialogTest, TheTopicIsShortenedToTheTextControlAndAnEmptyOneHasItsOwnText) {
    HWND dialog = Ask(L"JoinMeetingCallBack", L"");
    ASSERT_TRUE(::IsWindow(dialog));
    EXPECT_EQ(ResourceText(Dlg::kNoTopicString), WindowText(::GetDlgItem(dialog, Dlg::kTextControl)));
    ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCMDCANCEL, 0, 0);

    // Long, yet within what a parameter may carry.
    const std::wstring topic(200, L'W');
    dialog = Ask(L"JoinMeetingCallBack", topic);
    ASSERT_TRUE(::IsWindow(dialog));
    const std::wstring text = WindowText(::GetDlgItem(dialog, Dlg::kTextControl));
    const std::wstring suffix = L"... " + ResourceText(Dlg::kTopicSuffixString);
    ASSERT_GT(text.size(), suffix.size());
    EXPECT_EQ(suffix, text.substr(text.size() - suffix.size()));
    const std::wstring kept = text.substr(0, text.size() - suffix.size());
    EXPECT_LT(kept.size(), topic.size());
    EXPECT_EQ(std::wstring(kept.size(), L'W'), kept);
}

// The module runs no loop of its own: keys typed into the dialog reach it
// through the host's loop, which asks its message filters (the frame) first.
TEST_F(ConfirmDialogTest, TabAndEscapeWorkThroughTheHostsLoop) {
    const auto typeThroughHostLoop = [&](HWND target, WPARAM key) {
        ::PostMessageW(target, WM_KEYDOWN, key, 0);
        ::PostMessageW(target, WM_KEYUP, key, 0xC0000000);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER) continue;
            if (host.app->PreTranslateMessage(&msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    };
    const HWND dialog = Ask(L"StartMeetingCallBack", L"Budget");
    ASSERT_TRUE(::IsWindow(dialog));
    ::SetForegroundWindow(dialog);
    ::SetFocus(::GetDlgItem(dialog, IDOK));
    ASSERT_EQ(::GetDlgItem(dialog, IDOK), ::GetFocus());

    typeThroughHostLoop(::GetFocus(), VK_TAB);
    EXPECT_EQ(::GetDlgItem(dialog, IDCANCEL), ::GetFocus());

    typeThroughHostLoop(::GetFocus(), VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(dialog));
    Pump();
    EXPECT_EQ(2, SentCode()) << "Escape declines";
}
