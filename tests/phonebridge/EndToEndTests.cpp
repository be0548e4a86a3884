// Requests from a desk phone through the private XMPP server to the frame's
// bridge, confirmed in the real dialog, carried out by the suite's meetings
// library (which reports what it starts as running) and answered in XML.
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

std::wstring Response(const std::wstring& command, const std::wstring& sequence, const std::wstring& key, int code) {
    return L"<ZvnXmppReq><Command>" + command + L"</Command><Sequence>" + sequence + L"</Sequence><Param>" +
           (key.empty() ? L"<MeetingKey/>" : L"<MeetingKey>" + key + L"</MeetingKey>") +
           (code == -3 ? L"" : L"<MeetPassword/>") + L"<ResultCode>" + std::to_wstring(code) +
           L"</ResultCode></Param></ZvnXmppReq>";
}

class PhoneRequests : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        if (HasFatalFailure()) return;
        reporting.SetDword(L"ReportRunning", 1);
        reporting.SetText(L"InstantMeetingKey", L"900100200");
        ASSERT_TRUE(SignInToServer());
        ASSERT_TRUE(phone.SignIn(server));
        phone.ListenTo(bridge->OwnAddress().Text());
    }
    void Send(const std::wstring& xml) {
        ASSERT_TRUE(phone.Send(bridge->OwnAddress().Text(), IPPhone::EncodeMessageBody(xml.c_str())));
    }
    // The `n`th answer without the serialiser's line breaks and tabs.
    std::wstring Answer(size_t n) {
        std::wstring xml = IPPhone::DecodeMessageBody(phone.Body(n).c_str());
        std::erase_if(xml, [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\t'; });
        return xml;
    }
    bool Ended() {
        return testsupport::PumpUntil([this] { return bridge->Commands().Current() == nullptr; }, 5000);
    }

    testsupport::DeskPhone phone;
};
}  // namespace

TEST_F(PhoneRequests, AnInstantMeetingIsConfirmedStartedAndAnsweredWhileASecondRequestIsBusy) {
    Send(Request(L"InstantMeeting", L"41", L"<HeadCount>3</HeadCount><PhoneNumber>5550100</PhoneNumber>"));
    HWND dialog = nullptr;
    ASSERT_TRUE(testsupport::PumpUntil(
        [&] {
            CIPPhoneBoshCmd* command = bridge->Commands().Current();
            dialog = command ? command->ConfirmDialog() : nullptr;
            return dialog && ::IsWindowVisible(dialog);
        },
        20000))
        << "three people: the user is asked";

    Send(Request(L"JoinMeeting", L"42", L"<HeadCount>1</HeadCount><MeetingKey>77</MeetingKey>"));
    EXPECT_EQ(Response(L"JoinMeetingResponse", L"42", L"77", -3), Answer(1));
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(Response(L"InstantMeetingResponse", L"41", L"", 1), Answer(2));
    // Started; the answer follows once the meeting shows up among the running ones.
    EXPECT_EQ(Response(L"InstantMeetingResponse", L"41", L"", 0), Answer(3));
    const auto calls = TakeCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(0u, calls[0].find(L"StartInstantMeeting\t"));
    EXPECT_NE(std::wstring::npos, calls[0].find(L"\tcaller=13\tphone=5550100\t"));
    EXPECT_TRUE(Ended());
}
