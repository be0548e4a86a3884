// The module's wide string.
#include <gtest/gtest.h>

#include "StringEx.h"

namespace {
TEST(StringEx, PartsClampTheirBounds) {
    const CStringEx s(L"abcdef");
    EXPECT_STREQ(L"cde", s.Mid(2, 3).c_str());
    EXPECT_STREQ(L"abc", s.Mid(-5, 3).c_str());
    EXPECT_STREQ(L"cdef", s.Mid(2, -1).c_str());
    EXPECT_STREQ(L"cdef", s.Mid(2, 100).c_str());
    EXPECT_STREQ(L"", s.Mid(60, 2).c_str());
    EXPECT_STREQ(L"abcdef", s.Left(-1).c_str());
    EXPECT_STREQ(L"ef", s.Right(2).c_str());
    EXPECT_STREQ(L"abcdef", s.Right(9).c_str());
}

TEST(StringEx, FindsComparesTrimsAndReplaces) {
    CStringEx s(L"  a.b.c  ");
    EXPECT_EQ(5, s.Find(L'.', 4));
    EXPECT_EQ(-1, s.Find(L'.', 100));
    EXPECT_EQ(3, s.Find(L'.', -4));
    EXPECT_EQ(4, s.Find(L"b.c"));
    EXPECT_EQ(-1, s.Find(nullptr));
    s.Trim(L' ');
    EXPECT_STREQ(L"a.b.c", s.c_str());
    EXPECT_EQ(2, s.Replace(L".", L"::"));
    EXPECT_EQ(0, s.Replace(L"", L"x"));
    EXPECT_EQ(2, s.Replace(L"::", L""));
    EXPECT_STREQ(L"abc", s.c_str());
    EXPECT_EQ(0, s.CompareNoCase(L"ABC"));
    EXPECT_NE(0, s.Compare(L"ABC"));
    CStringEx all(L"////");
    EXPECT_TRUE(all.TrimRight(L'/').IsEmpty());
}

TEST(StringEx, FormatsAndHandsOutBuffers) {
    CStringEx s;
    s.Format(L"%s=%d (%08X)", L"count", 42, 0xBEEFu);
    EXPECT_STREQ(L"count=42 (0000BEEF)", s.c_str());
    const std::wstring longText(5000, L'z');
    s.Format(L"[%s]", longText.c_str());
    EXPECT_EQ(5002, s.GetLength());

    wchar_t* buffer = s.GetBuffer(64);
    wcscpy(buffer, L"written");
    s.ReleaseBuffer();
    EXPECT_EQ(7, s.GetLength());
}

TEST(StringEx, CountsLinesUpToTheFirstBlankOneAndReadsThem) {
    struct Case {
        const wchar_t* text;
        int lines;
    };
    for (const Case& c : {Case{L"", 0}, Case{L"one\r\ntwo", 2}, Case{L"a\nb\rc", 3}, Case{L"\r\nafter a blank first line", 1},
                          Case{L"a\r\n   \r\nc", 2}, Case{L"a\r\nb\r\n", 3}}) {
        EXPECT_EQ(c.lines, CStringEx(c.text).GetLineCount()) << "text: " << testing::PrintToString(std::wstring(c.text));
    }
    const CStringEx s(L"first\r\nsecond\r\nlast");
    EXPECT_STREQ(L"second", s.GetLineAt(1).c_str());
    EXPECT_STREQ(L"", s.GetLineAt(2).c_str()) << "the part after the last separator counts as empty";
}
}  // namespace
