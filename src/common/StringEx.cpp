#include "StringEx.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <vector>

CStringEx& CStringEx::operator=(const wchar_t* text) {
    m_text = text ? text : L"";
    return *this;
}

CStringEx& CStringEx::operator+=(const CStringEx& other) {
    m_text += other.m_text;
    return *this;
}

CStringEx& CStringEx::operator+=(const wchar_t* text) {
    if (text) m_text += text;
    return *this;
}

CStringEx& CStringEx::operator+=(wchar_t c) {
    m_text += c;
    return *this;
}

wchar_t CStringEx::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_text[static_cast<size_t>(index)] : L'\0';
}

int CStringEx::Find(wchar_t c, int start) const {
    if (start < 0) start = 0;
    if (start >= GetLength()) return -1;
    const size_t found = m_text.find(c, static_cast<size_t>(start));
    return found == std::wstring::npos ? -1 : static_cast<int>(found);
}

int CStringEx::Find(const wchar_t* text, int start) const {
    if (!text) return -1;
    if (start < 0) start = 0;
    if (start > GetLength()) return -1;
    const size_t found = m_text.find(text, static_cast<size_t>(start));
    return found == std::wstring::npos ? -1 : static_cast<int>(found);
}

CStringEx CStringEx::Mid(int start, int count) const {
    if (start < 0) start = 0;
    if (start >= GetLength()) return CStringEx();
    if (count < 0 || count > GetLength() - start) count = GetLength() - start;
    return CStringEx(m_text.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
}

CStringEx CStringEx::Left(int count) const { return Mid(0, count); }

CStringEx CStringEx::Right(int count) const {
    if (count < 0 || count >= GetLength()) return *this;
    return Mid(GetLength() - count, count);
}

int CStringEx::Compare(const wchar_t* text) const { return std::wcscmp(m_text.c_str(), text ? text : L""); }

int CStringEx::CompareNoCase(const wchar_t* text) const {
    return ::lstrcmpiW(m_text.c_str(), text ? text : L"");
}

CStringEx& CStringEx::TrimLeft(wchar_t c) {
    const size_t first = m_text.find_first_not_of(c);
    m_text.erase(0, first == std::wstring::npos ? m_text.size() : first);
    return *this;
}

CStringEx& CStringEx::TrimRight(wchar_t c) {
    const size_t last = m_text.find_last_not_of(c);
    m_text.erase(last == std::wstring::npos ? 0 : last + 1);
    return *this;
}

CStringEx& CStringEx::MakeLower() {
    for (auto& ch : m_text) ch = static_cast<wchar_t>(std::towlower(ch));
    return *this;
}

int CStringEx::Replace(const wchar_t* from, const wchar_t* to) {
    if (!from || !*from) return 0;
    const std::wstring needle = from;
    const std::wstring replacement = to ? to : L"";
    int count = 0;
    size_t position = 0;
    while ((position = m_text.find(needle, position)) != std::wstring::npos) {
        m_text.replace(position, needle.size(), replacement);
        position += replacement.size();
        ++count;
    }
    return count;
}

void CStringEx::Format(const wchar_t* format, ...) {
    if (!format) {
        Empty();
        return;
    }
    std::vector<wchar_t> buffer(256);
    for (;;) {
        va_list args;
        va_start(args, format);
        // The platform's own formatter: %s is a wide text here.
        const int written = ::_vsnwprintf(buffer.data(), buffer.size() - 1, format, args);
        va_end(args);
        if (written >= 0 && static_cast<size_t>(written) < buffer.size() - 1) {
            m_text.assign(buffer.data(), static_cast<size_t>(written));
            return;
        }
        if (buffer.size() > (1u << 24)) {
            Empty();
            return;
        }
        buffer.resize(buffer.size() * 2);
    }
}

wchar_t* CStringEx::GetBuffer(int length) {
    const size_t wanted = static_cast<size_t>(length < 0 ? 0 : length);
    if (m_text.size() < wanted) m_text.resize(wanted, L'\0');
    return m_text.data();
}

void CStringEx::ReleaseBuffer() { m_text.resize(std::wcslen(m_text.c_str())); }

bool CStringEx::LoadString(HINSTANCE instance, UINT id) {
    std::vector<wchar_t> buffer(32769);
    const int length = ::LoadStringW(instance, id, buffer.data(), static_cast<int>(buffer.size()));
    if (length <= 0) return false;
    m_text.assign(buffer.data(), static_cast<size_t>(length));
    return true;
}

CStringEx CStringEx::GetLineAt(int index) const {
    static const wchar_t kSeparator[] = L"\r\n";
    int start = 0;
    for (int i = 0; i < index; ++i) {
        const int next = Find(kSeparator, start);
        if (next < 0) return CStringEx();
        start = next + 2;
    }
    const int end = Find(kSeparator, start);
    if (end < 0) return CStringEx();
    return Mid(start, end - start);
}

int CStringEx::GetLineCount() const {
    int count = 0;
    if (!IsEmpty()) {
        // Every kind of line break becomes CR LF.
        CStringEx copy;
        for (int i = 0; i < GetLength(); ++i) {
            const wchar_t c = m_text[static_cast<size_t>(i)];
            if (c == L'\r') {
                copy += L"\r\n";
                if (GetAt(i + 1) == L'\n') ++i;
            } else if (c == L'\n') {
                copy += L"\r\n";
            } else {
                copy += c;
            }
        }
        for (;;) {
            CStringEx line = copy.GetLineAt(count++);
            if (line.Trim(L' ').IsEmpty()) break;
        }
    }
    wchar_t message[80];
    std::swprintf(message, 80, L"CStringEx::GetLineCount: Found last line, linecount = %d\n", count);
    ::OutputDebugStringW(message);
    return count;
}
