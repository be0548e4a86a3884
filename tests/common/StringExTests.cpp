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

TEST(StringEx, FormatsTextsOfAnyLength) {
    CStringEx s;
    s.Format(L"%s=%d (%08X)", L"count", 42, 0xBEEFu);
    EXPECT_STREQ(L"count=42 (0000BEEF)", s.c_str());
    const std::wstring longText(5000, L'z');
    s.Format(L"[%s]", longText.c_str());
    EXPECT_EQ(5002, s.GetLength());
}
}  // namespace
