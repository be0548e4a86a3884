// A join that needs a password it has not got asks the user for it in a
// modal dialog of the resource library.
#include <gtest/gtest.h>

#include "ComHolders.h"
#include "support/Canvas.h"
#include "support/CommandFixture.h"
#include "DlgInputPwd.h"

using namespace commandtest;

namespace {
// What the user does when the dialog shows, and what was seen.
struct PasswordAnswer {
    std::wstring text;
    bool cancel = false;
    bool seen = false;
    bool okEnabledEmpty = true;
    bool okEnabledTyped = false;
    // The edit box's printed border, with the focus in it and elsewhere.
    COLORREF focusedBorder = CLR_INVALID;
    COLORREF restingBorder = CLR_INVALID;
};

COLORREF PrintedBorder(HWND edit) {
    RECT window{};
    ::GetWindowRect(edit, &window);
    testsupport::Canvas canvas(window.right - window.left, window.bottom - window.top, RGB(255, 0, 0));
    ::SendMessageW(edit, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_NONCLIENT | PRF_CLIENT);
    return canvas.At(canvas.width() / 2, 0);
}
PasswordAnswer* g_answer = nullptr;

BOOL CALLBACK FindPasswordDialog(HWND window, LPARAM found) {
    if (::IsWindowVisible(window) && ::GetDlgItem(window, CDlgInputPwd::kEdit)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the dialog's modal loop.
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindPasswordDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !g_answer) return;
    ::KillTimer(nullptr, id);
    PasswordAnswer& answer = *g_answer;
    answer.seen = true;
    const HWND ok = ::GetDlgItem(dialog, IDOK);
    answer.okEnabledEmpty = ::IsWindowEnabled(ok) != FALSE;
    const HWND edit = ::GetDlgItem(dialog, CDlgInputPwd::kEdit);
    ::SetFocus(edit);
    answer.focusedBorder = PrintedBorder(edit);
    ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
    answer.restingBorder = PrintedBorder(edit);
    if (answer.cancel) {
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    ::SetDlgItemTextW(dialog, CDlgInputPwd::kEdit, answer.text.c_str());
    answer.okEnabledTyped = ::IsWindowEnabled(ok) != FALSE;
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
}

class PasswordJoin : public CommandTest {
protected:
    HRESULT JoinAnswering(PasswordAnswer& answer, BSTR password = nullptr) {
        g_answer = &answer;
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerDialog);
        const HRESULT hr =
            frame->JoinMeeting(Bstr(L"77").get(), nullptr, password, Bstr(L"site.example.com").get(), 0, TRUE);
        ::KillTimer(nullptr, timer);
        g_answer = nullptr;
        return hr;
    }
};
}  // namespace

TEST_F(PasswordJoin, TheEnteredPasswordIsUsedCutAt511AndCancelJoinsNothing) {
    PasswordAnswer cancel;
    cancel.cancel = true;
    EXPECT_EQ(S_FALSE, JoinAnswering(cancel));
    EXPECT_TRUE(cancel.seen);
    EXPECT_FALSE(cancel.okEnabledEmpty) << "no password, no OK";
    EXPECT_EQ(CVelEditbox::kFocusBorder, cancel.focusedBorder);
    EXPECT_EQ(CVelEditbox::kBorder, cancel.restingBorder);
    EXPECT_TRUE(TakeCalls().empty());

    const struct {
        std::wstring typed, used;
    } cases[] = {{L"s3cret pw", L"s3cret pw"}, {std::wstring(600, L'p'), std::wstring(511, L'p')}};
    for (const auto& c : cases) {
        PasswordAnswer typed;
        typed.text = c.typed;
        JoinAnswering(typed);
        EXPECT_TRUE(typed.okEnabledTyped);
        const auto calls = TakeCalls();
        ASSERT_FALSE(calls.empty());
        EXPECT_NE(std::wstring::npos, calls[0].find(L"\tkey=77\tpassword=" + c.used + L"\tsite=site.example.com\t"));
    }
}

TEST_F(PasswordJoin, AKnownPasswordIsNotAskedFor) {
    PasswordAnswer untouched;
    untouched.cancel = true;
    Bstr known(L"given");
    JoinAnswering(untouched, known.get());
    EXPECT_FALSE(untouched.seen);
    const auto calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_NE(std::wstring::npos, calls[0].find(L"\tpassword=given\t"));
}
