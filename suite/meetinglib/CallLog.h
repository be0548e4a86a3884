#pragma once
// The call log: one line per call, the operation's name and then each argument
// as a tab and "name=value". Texts are written in UTF-8 with backslash, tab,
// CR and LF escaped as \\, \t, \r, \n; an absent text is written as "(null)";
// window handles in hexadecimal with "0x"; lines end in CR LF.
#include <windows.h>
#include <oleauto.h>

#include <string>

class CCallLine {
public:
    explicit CCallLine(const wchar_t* operation);

    CCallLine& Text(const wchar_t* name, BSTR value);
    CCallLine& Number(const wchar_t* name, LONG value);
    CCallLine& Window(const wchar_t* name, HWND value);

    [[nodiscard]] const std::wstring& Line() const noexcept { return m_line; }
    // Appends the line to the log file; a log that cannot be written is skipped.
    void Write() const noexcept;

private:
    void Field(const wchar_t* name, const std::wstring& value);
    std::wstring m_line;
};
