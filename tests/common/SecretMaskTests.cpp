// Password values never reach the trace file or the debugger output; the rest
// of a document does, unchanged.
#include <gtest/gtest.h>

#include <string>

#include "SecretMask.h"

namespace {
TEST(SecretMask, HidesTheContentOfEveryPasswordElementAndNothingElse) {
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"<Param><Password>s3cret</Password><HeadCount>2</HeadCount></Param>",
         L"<Param><Password>***</Password><HeadCount>2</HeadCount></Param>"},
        {L"<MeetPassword>p%40ss+1</MeetPassword><ResultCode>0</ResultCode>",
         L"<MeetPassword>***</MeetPassword><ResultCode>0</ResultCode>"},
        {L"<meeting><meetingKey>42</meetingKey><meetingPassword>x</meetingPassword></meeting>",
         L"<meeting><meetingKey>42</meetingKey><meetingPassword>***</meetingPassword></meeting>"},
        {L"<a:PASSWORD kind=\"plain\"><![CDATA[<b>x</b>]]></a:PASSWORD>", L"<a:PASSWORD kind=\"plain\">***</a:PASSWORD>"},
        {L"<Account><Password>never ends", L"<Account><Password>***"},
        {L"<isPwdRequird>yes</isPwdRequird><PasswordHint", L"<isPwdRequird>yes</isPwdRequird><PasswordHint"},
    };
    for (const auto& c : cases) EXPECT_EQ(std::wstring(c.out), SecretMask::MaskPasswords(c.in)) << c.in;
}
}  // namespace
