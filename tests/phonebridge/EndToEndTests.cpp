// Requests from a desk phone that travel through the private XMPP server to
// the frame's bridge, are confirmed in the real dialog, carried out by the
// suite's meetings library, and answered in XML.
#include <gtest/gtest.h>

#include "BridgeFixture.h"
#include "UrlCodec.h"
#include "support/DeskPhone.h"

using namespace bridgetest;

namespace {
std::wstring Request(const std::wstring& command, const std::wstring& sequence, const std::wstring& param) {
    return L"<ZvnXmppReq><Command>" + command + L"</Command><Sequence>" + sequence +
           L"</Sequence><HostType>0</HostType><Param>" + param + L"</Param></ZvnXmppReq>";
}

// The answer's XML without the serialiser's line breaks and tabs.
std::wstring Answer(const testsupport::DeskPhone::Received& message) {
    std::wstring xml = IPPhone::DecodeMessageBody(message.body.c_str());
    std::erase_if(xml, [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\t'; });
    return xml;
}

class PhoneRequests : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        if (HasFatalFailure()) return;
        // The meetings library reports what it starts as running, as the meeting program does.
        reporting.SetDword(L"ReportRunning", 1);
        reporting.SetText(L"InstantMeetingKey", L"900100200");
        ASSERT_TRUE(SignInToServer());
        ASSERT_TRUE(phone.SignIn(server));
        phone.ListenTo(bridge->OwnAddress().Text());
    }
    void Send(const std::wstring& xml) {
        ASSERT_TRUE(phone.Send(bridge->OwnAddress().Text(), IPPhone::EncodeMessageBody(xml.c_str())));
    }
    std::wstring AnswerNumber(size_t n) {
        if (!phone.WaitForMessages(n, 20000)) return L"(no answer " + std::to_wstring(n) + L")";
        return Answer(phone.Messages()[n - 1]);
    }
    HWND ConfirmDialog() {
        HWND dialog = nullptr;
        testsupport::PumpUntil(
            [&] {
                CIPPhoneBoshCmd* command = bridge->Commands().Current();
                dialog = command ? command->ConfirmDialog() : nullptr;
                return dialog && ::IsWindowVisible(dialog);
            },
            20000);
        return dialog;
    }

    testsupport::DeskPhone phone;
};
}  // namespace

TEST_F(PhoneRequests, AnInstantMeetingIsConfirmedStartedAndAnsweredWhileASecondRequestIsBusy) {
    Send(Request(L"InstantMeeting", L"41", L"<HeadCount>3</HeadCount><PhoneNumber>5550100</PhoneNumber>"));
    const HWND dialog = ConfirmDialog();
    ASSERT_TRUE(dialog) << "three people: the user is asked";

    Send(Request(L"JoinMeeting", L"42", L"<HeadCount>1</HeadCount><MeetingKey>77</MeetingKey>"));
    EXPECT_EQ(L"<ZvnXmppReq><Command>JoinMeetingResponse</Command><Sequence>42</Sequence><Param><MeetingKey>77"
              L"</MeetingKey><ResultCode>-3</ResultCode></Param></ZvnXmppReq>",
              AnswerNumber(1));
    EXPECT_TRUE(::IsWindow(dialog)) << "the running request goes on";

    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(L"<ZvnXmppReq><Command>InstantMeetingResponse</Command><Sequence>41</Sequence><Param><MeetingKey/>"
              L"<MeetPassword/><ResultCode>1</ResultCode></Param></ZvnXmppReq>",
              AnswerNumber(2));
    // Started; the answer follows once the meeting shows up among the running ones.
    EXPECT_EQ(L"<ZvnXmppReq><Command>InstantMeetingResponse</Command><Sequence>41</Sequence><Param><MeetingKey/>"
              L"<MeetPassword/><ResultCode>0</ResultCode></Param></ZvnXmppReq>",
              AnswerNumber(3));
    const auto calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(0u, calls[0].find(L"StartInstantMeeting\t"));
    EXPECT_NE(std::wstring::npos, calls[0].find(L"\tcaller=13\tphone=5550100\t"));
    ASSERT_TRUE(testsupport::PumpUntil([this] { return bridge->Commands().Current() == nullptr; }, 5000));
}

TEST_F(PhoneRequests, AJoinForOnePersonAndACallBackTheUserAlwaysAllowsGoStraightToTheMeeting) {
    Send(Request(L"JoinMeeting", L"51", L"<HeadCount>1</HeadCount><MeetingKey>311000111</MeetingKey>"));
    EXPECT_EQ(L"<ZvnXmppReq><Command>JoinMeetingResponse</Command><Sequence>51</Sequence><Param><MeetingKey>"
              L"311000111</MeetingKey><MeetPassword/><ResultCode>0</ResultCode></Param></ZvnXmppReq>",
              AnswerNumber(1));
    ASSERT_TRUE(testsupport::PumpUntil([this] { return bridge->Commands().Current() == nullptr; }, 5000));

    ClearRunningMeetings();
    always.SetDword(L"AlwaysStartFromIpphone", 1);
    Send(Request(L"StartMeetingCallBack", L"52", L"<MeetingKey>311000222</MeetingKey><TelAttndeeID>9</TelAttndeeID>"));
    EXPECT_NE(std::wstring::npos, AnswerNumber(2).find(L"<ResultCode>1</ResultCode>")) << "accepted without asking";
    EXPECT_NE(std::wstring::npos, AnswerNumber(3).find(L"<Sequence>52</Sequence><Param><MeetingKey>311000222"
                                                       L"</MeetingKey><MeetPassword/><ResultCode>0</ResultCode>"));
    const auto calls = TakeCalls();
    ASSERT_EQ(4u, calls.size());
    EXPECT_EQ(0u, calls[0].find(L"JoinMeeting\t"));
    EXPECT_EQ(0u, calls[2].find(L"StartScheduledMeeting\t"));
    EXPECT_NE(std::wstring::npos, calls[2].find(L"\tattendee=9"));
}
