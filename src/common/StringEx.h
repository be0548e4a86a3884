#pragma once
// The module's wide string.
#include <windows.h>

#include <string>

class CStringEx {
public:
    CStringEx() = default;
    CStringEx(const wchar_t* text) : m_text(text ? text : L"") {}  // NOLINT: converts like a text
    CStringEx(const std::wstring& text) : m_text(text) {}          // NOLINT
    CStringEx(const CStringEx&) = default;
    CStringEx(CStringEx&&) noexcept = default;
    CStringEx& operator=(const CStringEx&) = default;
    CStringEx& operator=(CStringEx&&) noexcept = default;
    CStringEx& operator=(const wchar_t* text);
    virtual ~CStringEx() = default;

    CStringEx& operator+=(const CStringEx& other);
    CStringEx& operator+=(const wchar_t* text);
    CStringEx& operator+=(wchar_t c);
    friend CStringEx operator+(const CStringEx& a, const CStringEx& b) { return CStringEx(a.m_text + b.m_text); }
    bool operator==(const CStringEx& other) const { return m_text == other.m_text; }

    [[nodiscard]] int GetLength() const noexcept { return static_cast<int>(m_text.size()); }
    [[nodiscard]] bool IsEmpty() const noexcept { return m_text.empty(); }
    void Empty() noexcept { m_text.clear(); }
    [[nodiscard]] const wchar_t* c_str() const noexcept { return m_text.c_str(); }
    operator const wchar_t*() const noexcept { return m_text.c_str(); }  // NOLINT
    [[nodiscard]] const std::wstring& str() const noexcept { return m_text; }
    [[nodiscard]] wchar_t GetAt(int index) const;

    // -1 when absent; a negative start counts as 0.
    [[nodiscard]] int Find(wchar_t c, int start = 0) const;
    [[nodiscard]] int Find(const wchar_t* text, int start = 0) const;

    // A negative start counts as 0; a negative count, or one reaching past the
    // end, takes the rest; a start past the end gives the empty string.
    [[nodiscard]] CStringEx Left(int count) const;
    [[nodiscard]] CStringEx Right(int count) const;
    [[nodiscard]] CStringEx Mid(int start, int count = -1) const;

    [[nodiscard]] int Compare(const wchar_t* text) const;
    [[nodiscard]] int CompareNoCase(const wchar_t* text) const;

    CStringEx& TrimLeft(wchar_t c = L' ');
    CStringEx& TrimRight(wchar_t c = L' ');
    CStringEx& Trim(wchar_t c = L' ') { return TrimLeft(c).TrimRight(c); }
    CStringEx& MakeLower();
    // Replaces every occurrence; returns how many were replaced.
    int Replace(const wchar_t* from, const wchar_t* to);

    // printf-style assignment; %s takes a wide text.
    void Format(const wchar_t* format, ...);

    // A writable buffer of at least `length` characters; ReleaseBuffer takes
    // the text up to its first null.
    wchar_t* GetBuffer(int length);
    void ReleaseBuffer();

    // Assigns string resource `id`; false (string unchanged) when it is missing or empty.
    bool LoadString(HINSTANCE instance, UINT id);

    // Counts lines up to and including the first blank one (see the definition).
    [[nodiscard]] int GetLineCount() const;
    // The text after `index` CR LF separators up to the next one; the part
    // after the last separator counts as empty.
    [[nodiscard]] CStringEx GetLineAt(int index) const;

private:
    std::wstring m_text;
};
