// Message bodies and parameter values travel percent-encoded as UTF-8.
#include <gtest/gtest.h>

#include "IPPhoneDefs.h"
#include "UrlCodec.h"

using namespace IPPhone;

TEST(UrlDecode, EscapesAreUtf8BytesAndPlusIsASpace) {
    wchar_t out[32];
    // A "%" without two hexadecimal digits stays itself, also at the very end.
    ASSERT_NE(nullptr, UrlDecodeUtf8(L"caf%C3%a9+%zz+50%+off%4", out, 32));
    EXPECT_STREQ(L"caf\u00e9 %zz 50% off%4", out);
}

TEST(UrlDecode, RefusesMissingArgumentsAndTextsThatDoNotFit) {
    wchar_t out[4] = {L'x', L'y', L'z', 0};
    EXPECT_EQ(nullptr, UrlDecodeUtf8(nullptr, out, 4));
    EXPECT_EQ(nullptr, UrlDecodeUtf8(L"", out, 4));
    EXPECT_EQ(nullptr, UrlDecodeUtf8(L"a", nullptr, 4));
    EXPECT_EQ(nullptr, UrlDecodeUtf8(L"a", out, 0));
    // Four characters and the terminator need five.
    EXPECT_EQ(nullptr, UrlDecodeUtf8(L"abcd", out, 4));
    EXPECT_STREQ(L"xyz", out) << "a failed decoding leaves the output as it was";
    ASSERT_NE(nullptr, UrlDecodeUtf8(L"%C3%A9", out, 4));
    EXPECT_STREQ(L"\u00e9", out) << "two bytes give one character";
}

TEST(MessageBody, GoesOutAsPlainAsciiWithoutSpacesOrBrackets) {
    const std::string body = EncodeMessageBody(L"<a b=\"\u00e9\">x-y_z*.0</a>");
    EXPECT_EQ("%3ca+b%3d%22%c3%a9%22%3ex-y_z*.0%3c%2fa%3e", body);
    // What goes out comes back unchanged.
    EXPECT_EQ(L"<a b=\"\u00e9\">x-y_z*.0</a>", DecodeMessageBody(body.c_str()));
    EXPECT_TRUE(DecodeMessageBody(nullptr).empty());
    EXPECT_TRUE(DecodeMessageBody("").empty());
}
