// Reading the phone's request documents, and documents that are not requests.
#include <gtest/gtest.h>

#include "IPPhoneBoshCmd.h"
#include "PhoneFixture.h"

using namespace IPPhone;
using namespace phonetest;

namespace {
const BoshAddress kPhone{"phone", "acme.example.com", "desk"};

// Messages waiting for a window, without delivering them.
std::vector<UINT> Posted(HWND window) {
    std::vector<UINT> messages;
    MSG msg;
    while (::PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) messages.push_back(msg.message);
    return messages;
}

class CommandWindowOnly : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.Create()); }
    void TearDown() override { window.DestroyWindow(); }
    CIPPhoneCommandHandler handler;
    CommandWindow window{handler};
};
}  // namespace

TEST_F(CommandWindowOnly, EveryFieldIsReadWhateverTheOrderOfTheElements) {
    const std::wstring xml =
        L"<ZvnXmppReq><Param><PhoneNumber>+1 555 0100</PhoneNumber><TelAttndeeID>77</TelAttndeeID>"
        L"<MeetingKey>123456789</MeetingKey><HeadCount>3</HeadCount><Password>p%40ss+word</Password>"
        L"<SiteUrl>https%3A%2F%2Facme.example.com%2Facme</SiteUrl><MeetingTopic>Caf%C3%A9+review</MeetingTopic>"
        L"</Param><HostType>2</HostType><Sequence>seq-9</Sequence><Command>JoinMeetingCallBack</Command></ZvnXmppReq>";
    CIPPhoneBoshCmd command(nullptr);
    command.Start(xml.c_str(), nullptr, window.m_hWnd, kPhone);
    const IPPhoneRequest& request = command.Request();
    EXPECT_EQ(L"JoinMeetingCallBack", request.Command.str());
    EXPECT_EQ(L"seq-9", request.Sequence.str());
    EXPECT_EQ(2, request.HostType);
    EXPECT_EQ(L"123456789", request.MeetingKey.str());
    EXPECT_EQ(L"https://acme.example.com/acme", request.SiteUrl.str());
    EXPECT_EQ(L"Caf\u00e9 review", request.MeetingTopic.str());
    EXPECT_EQ(L"77", request.TelAttndeeID.str());
    EXPECT_EQ(3, request.HeadCount);
    EXPECT_EQ(L"p@ss word", request.Password.str());
    EXPECT_EQ(L"+1 555 0100", request.PhoneNumber.str()) << "only topic, site and password are decoded";
    EXPECT_EQ("phone@acme.example.com/desk", request.sender.Text());
    EXPECT_EQ(xml, command.CommandText());

    const IPPhoneResponse& response = command.Response();
    EXPECT_EQ(L"JoinMeetingCallBackResponse", response.Command.str());
    EXPECT_EQ(L"seq-9", response.Sequence.str());
    EXPECT_EQ(L"123456789", response.MeetingKey.str());
    EXPECT_TRUE(response.MeetPassword.IsEmpty());
    EXPECT_EQ(-2, response.Result);
    EXPECT_EQ("phone@acme.example.com/desk", response.receiver.Text());
    EXPECT_FALSE(command.ConfirmAsked());
}

TEST_F(CommandWindowOnly, MissingNumbersAreZeroAndAParameterOutsideParamIsNotOne) {
    CIPPhoneBoshCmd command(nullptr);
    command.Start(L"<ZvnXmppReq><Command>InstantMeeting</Command><MeetingKey>1</MeetingKey></ZvnXmppReq>", nullptr,
                  window.m_hWnd, kPhone);
    EXPECT_EQ(0, command.Request().HostType);
    EXPECT_EQ(0, command.Request().HeadCount);
    EXPECT_TRUE(command.Request().MeetingKey.IsEmpty());
    EXPECT_TRUE(command.Request().Sequence.IsEmpty());
}

TEST_F(CommandWindowOnly, EachCommandPostsItsOwnMessageAndOthersAreCancelled) {
    const struct {
        const wchar_t* name;
        UINT message;
        const wchar_t* response;
    } cases[] = {
        {L"InstantMeeting", MSG_AP_BOSHCMDINSTANT, L"InstantMeetingResponse"},
        {L"StartMeeting", MSG_AP_BOSHCMDSCHED, L"StartMeetingResponse"},
        {L"JoinMeeting", MSG_AP_BOSHCMDJOIN, L"JoinMeetingResponse"},
        {L"StartMeetingCallBack", MSG_AP_BOSHCMDSCHEDCALLBACK, L"StartMeetingCallBackResponse"},
        {L"JoinMeetingCallBack", MSG_AP_BOSHCMDJOINCALLBACK, L"JoinMeetingCallBackResponse"},
        {L"CancelQKDialog", MSG_AP_BOSHCMDCANCEL, L""},
        {L"instantmeeting", MSG_AP_BOSHCMDCANCEL, L""},  // names are compared exactly
        {L"Reboot", MSG_AP_BOSHCMDCANCEL, L""},
    };
    for (const auto& c : cases) {
        CIPPhoneBoshCmd command(nullptr);
        command.Start(Request(c.name, L"1", L"").c_str(), nullptr, window.m_hWnd, kPhone);
        EXPECT_EQ(c.response, command.Response().Command.str()) << c.name;
        command.onMessageReceived();
        EXPECT_EQ(std::vector<UINT>{c.message}, Posted(window.m_hWnd)) << c.name;
    }
}

TEST_F(CommandWindowOnly, HostileOrBrokenRequestsLeaveEmptyRecords) {
    const wchar_t* hostile[] = {
        L"",
        L"not xml at all",
        L"<ZvnXmppReq><Command>InstantMeeting</Command><Param>",  // truncated
        L"<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
        L"<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]><ZvnXmppReq><Command>&c;</Command></ZvnXmppReq>",
        L"<ZvnXmppReq><Command>InstantMeeting</Command><Sequence>1</Sequence></ZvnXmppReq><second/>",
    };
    for (const wchar_t* xml : hostile) {
        CIPPhoneBoshCmd command(nullptr);
        command.Start(xml, nullptr, window.m_hWnd, kPhone);
        EXPECT_TRUE(command.Request().Command.IsEmpty()) << xml;
        EXPECT_TRUE(command.Response().Sequence.IsEmpty()) << xml;
        EXPECT_EQ(xml, command.CommandText());
    }
    CIPPhoneBoshCmd command(nullptr);
    command.Start(nullptr, nullptr, window.m_hWnd, kPhone);
    EXPECT_TRUE(command.CommandText().empty());
}

TEST_F(CommandWindowOnly, BrokenBodiesNeverBecomeACommand) {
    handler.OnMessageReceived("phone@acme.example.com", nullptr);
    handler.OnMessageReceived("phone@acme.example.com", "");
    handler.OnMessageReceived("phone@acme.example.com", "%3cZvnXmppReq%3e%3cCommand%3eInstantMeeting");
    handler.OnMessageReceived("phone@acme.example.com", "%ff%fe%00");
    EXPECT_EQ(nullptr, handler.Current());
    EXPECT_TRUE(Posted(window.m_hWnd).empty());
}
