// Requests from the phone read, carried out through the suite's meetings
// library, confirmed through a stand-in for the user's dialog, and answered.
#include <gtest/gtest.h>

#include <cstring>

#include "PhoneFixture.h"
#include "support/DebugOutput.h"

using namespace IPPhone;
using namespace phonetest;
using commandtest::HandleText;
using Lines = std::vector<std::wstring>;

namespace {
const BoshAddress kPhone{"phone", "acme.example.com", "desk"};

}  // namespace

TEST_F(PhoneTest, EveryFieldIsReadWhateverTheOrderOfTheElements) {
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
}

TEST_F(PhoneTest, MissingNumbersAreZeroAndAParameterOutsideParamIsNotOne) {
    CIPPhoneBoshCmd command(nullptr);
    command.Start(L"<ZvnXmppReq><Command>InstantMeeting</Command><MeetingKey>1</MeetingKey></ZvnXmppReq>", nullptr,
                  window.m_hWnd, kPhone);
    EXPECT_EQ(0, command.Request().HostType);
    EXPECT_EQ(0, command.Request().HeadCount);
    EXPECT_TRUE(command.Request().MeetingKey.IsEmpty());
    EXPECT_TRUE(command.Request().Sequence.IsEmpty());
}

TEST_F(PhoneTest, AnInstantMeetingForOnePersonStartsAtOnceAndIsAnsweredWhenTheListShowsIt) {
    meetingLib.SetText(L"ResultXml", L"<Result><meetingKey>4455</meetingKey></Result>");
    Receive(Request(L"InstantMeeting", L"s1", L"<HeadCount>1</HeadCount><PhoneNumber>5550100</PhoneNumber>"));
    ASSERT_NE(nullptr, handler.Current());
    Pump();
    const Lines calls = TakeCalls();
    ASSERT_EQ(2u, calls.size());
    const std::wstring owner = HandleText(frame->m_hWnd);
    EXPECT_EQ(L"StartInstantMeeting\towner=" + owner + L"\tcaller=13\tphone=5550100\treserved=0", calls[0]);
    EXPECT_EQ(0u, calls[1].find(L"GetResult\tflag=1\tcode=2\t"));
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(TakeSent().empty()) << "started: the answer waits for the meeting list";
    EXPECT_EQ(L"4455", handler.Current()->Request().MeetingKey.str());
    EXPECT_TRUE(TimeoutWasRunning());

    handler.OnMeetingReturn(L"<meetings><meeting><meetingKey>1</meetingKey></meeting></meetings>");
    handler.OnMeetingReturn(L"<meetings");
    EXPECT_TRUE(TakeSent().empty());
    ASSERT_NE(nullptr, handler.Current());

    handler.OnMeetingReturn(
        L"<meetings><meeting><meetingKey>1</meetingKey></meeting><meeting><meetingKey>4455</meetingKey>"
        L"<meetingPassword>se%C3%A7ret+1</meetingPassword></meeting></meetings>");
    const auto sent = TakeSent();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ("phone@acme.example.com/desk", sent[0].receiver);
    // The key of the response is the one the request carried.
    EXPECT_EQ(Response(L"InstantMeetingResponse", L"s1", L"", L"se\u00e7ret 1", 0), sent[0].xml);
    EXPECT_EQ(std::string::npos, sent[0].body.find_first_of(" <>"));
    Pump();
    EXPECT_EQ(nullptr, handler.Current()) << "a final answer ends the command";
}

// One person needs no confirmation, a call-back always asks first; then the
// phone's number goes to the library, or for a call-back the attendee.
TEST_F(PhoneTest, StartAndJoinReachTheLibraryWithThePhonesArguments) {
    const std::wstring owner = HandleText(frame->m_hWnd);
    const std::wstring param = L"<HeadCount>1</HeadCount><MeetingKey>321</MeetingKey><MeetingTopic>Weekly+sync"
                               L"</MeetingTopic><PhoneNumber>5550100</PhoneNumber><Password>pw</Password>"
                               L"<SiteUrl>s.example.com</SiteUrl><TelAttndeeID>77</TelAttndeeID>";
    const struct {
        const wchar_t* command;
        int type;  // the confirmation asked for, -1 for none
        std::wstring call;
    } cases[] = {
        {L"StartMeeting", -1,
         L"StartScheduledMeeting\towner=" + owner +
             L"\tkey=321\ttopic=Weekly sync\tvalue=0\tkey2=321\tcaller=13\tphone=5550100\tattendee=(null)"},
        {L"JoinMeeting", -1,
         L"JoinMeeting\towner=" + owner +
             L"\tkey=321\tpassword=pw\tsite=s.example.com\tvalue=0\tkey2=321\tcaller=13\tphone=5550100\tattendee=(null)"},
        {L"StartMeetingCallBack", 3,
         L"StartScheduledMeeting\towner=" + owner +
             L"\tkey=321\ttopic=321\tvalue=0\tkey2=321\tcaller=13\tphone=(null)\tattendee=77"},
        {L"JoinMeetingCallBack", 4,
         L"JoinMeeting\towner=" + owner +
             L"\tkey=321\tpassword=pw\tsite=s.example.com\tvalue=0\tkey2=321\tcaller=13\tphone=(null)\tattendee=77"},
    };
    for (const auto& c : cases) {
        opened.clear();
        Receive(Request(c.command, L"s4", param));
        Pump();
        if (c.type >= 0) {
            EXPECT_TRUE(TakeCalls().empty()) << c.command;
            ASSERT_EQ(1u, opened.size()) << c.command;
            EXPECT_EQ(c.type, opened[0].type);
            EXPECT_EQ(window.m_hWnd, opened[0].notify);
            EXPECT_EQ(L"Weekly sync", opened[0].topic);
            ::PostMessageW(window.m_hWnd, MSG_AP_BOSHCONFIRMOK, 0, 0);
            Pump();
            const auto sent = TakeSent();
            ASSERT_EQ(1u, sent.size()) << c.command;
            EXPECT_EQ(Response(std::wstring(c.command) + L"Response", L"s4", L"321", L"", 1), sent[0].xml);
        }
        const Lines calls = TakeCalls();
        ASSERT_EQ(2u, calls.size()) << c.command;
        EXPECT_EQ(c.call, calls[0]);
        EXPECT_EQ(c.type >= 0 ? 1u : 0u, opened.size()) << "asked once at most";
        EXPECT_TRUE(TakeSent().empty()) << "started: the answer waits for the meeting list";
        // The running command keeps the next request out until it ends.
        ASSERT_NE(nullptr, handler.Current());
        ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCMDCANCEL, 0, 0);
    }
}

// Every code of the sign-in and re-sign-in lists beside neighbours that are
// on neither, so that a code dropped from or added to a list fails.
TEST_F(PhoneTest, TheLibrarysResultCodesDecideTheAnswer) {
    const std::wstring start = Request(L"StartMeeting", L"s5", L"<HeadCount>1</HeadCount><MeetingKey>9</MeetingKey>");
    const std::wstring callback = Request(L"StartMeetingCallBack", L"s6", L"<MeetingKey>9</MeetingKey>");
    constexpr UINT kError = VelEvent::SignInError, kAgain = VelEvent::SignInAgain;
    const struct {
        const std::wstring* request;
        DWORD code;
        bool answered;    // with -2
        UINT signInEvent; // 0 for none
    } cases[] = {
        {&start, 2, false, 0},       {&start, 3, true, kError},   {&start, 4, true, 0},
        {&start, 5, true, kError},   {&start, 6, true, 0},        {&start, 10, true, 0},
        {&start, 11, true, kError},  {&start, 12, true, kError},  {&start, 13, true, 0},
        {&start, 14, true, 0},       {&start, 15, true, kError},  {&start, 16, true, kError},
        {&start, 17, true, 0},       {&start, 18, true, 0},       {&start, 19, false, kAgain},
        {&start, 20, true, 0},       {&start, 32, true, 0},       {&start, 33, false, kAgain},
        {&start, 34, true, 0},
        // A call-back answers no sign-in code: the command waits for its end.
        {&callback, 12, false, kError}, {&callback, 33, false, kAgain}, {&callback, 7, true, 0},
    };
    for (const auto& c : cases) {
        listener.received.clear();
        meetingLib.SetDword(L"ResultCode", c.code);
        Receive(*c.request);
        Pump();
        if (c.request == &callback) {
            ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCONFIRMOK, 0, 0);
            Pump();
        }
        auto sent = TakeSent();
        if (c.request == &callback) {
            ASSERT_FALSE(sent.empty());
            EXPECT_NE(std::wstring::npos, sent[0].xml.find(L"<ResultCode>1</ResultCode>")) << "the acceptance first";
            sent.erase(sent.begin());
        }
        ASSERT_EQ(c.answered ? 1u : 0u, sent.size()) << c.code;
        if (c.answered) {
            EXPECT_NE(std::wstring::npos, sent[0].xml.find(L"<ResultCode>-2</ResultCode>")) << c.code;
            EXPECT_EQ(nullptr, handler.Current()) << c.code;
        }
        EXPECT_EQ(c.signInEvent == kError ? 1u : 0u, Events(kError).size()) << c.code;
        EXPECT_EQ(c.signInEvent == kAgain ? 1u : 0u, Events(kAgain).size()) << c.code;
        if (c.signInEvent == kError && !Events(kError).empty()) {
            EXPECT_EQ(static_cast<INT_PTR>(c.code), Events(kError)[0].first);
        }
        ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCMDCANCEL, 0, 0);
        TakeCalls();
    }
}

TEST_F(PhoneTest, AMeetingRunningHereDecidesBeforeTheUserIsAsked) {
    commandtest::SetRunningMeetings(
        L"<meetings><meeting><meetingKey>9</meetingKey><userType>host</userType></meeting></meetings>");
    const struct {
        const wchar_t* command;
        const wchar_t* key;
        int code;  // 99: the user is asked
    } cases[] = {
        {L"StartMeeting", L"9", -1},   {L"StartMeeting", L"8", 99},
        {L"JoinMeeting", L"9", 0},     {L"JoinMeeting", L"8", -1},
        {L"JoinMeetingCallBack", L"9", 0}, {L"StartMeetingCallBack", L"8", -1},
    };
    for (const auto& c : cases) {
        opened.clear();
        Receive(Request(c.command, L"s7", L"<HeadCount>2</HeadCount><MeetingKey>" + std::wstring(c.key) + L"</MeetingKey>"));
        Pump();
        const auto sent = TakeSent();
        if (c.code == 99) {
            EXPECT_TRUE(sent.empty()) << c.command;
            EXPECT_EQ(1u, opened.size()) << c.command;
            ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCMDCANCEL, 0, 0);
        } else {
            ASSERT_EQ(1u, sent.size()) << c.command << c.key;
            EXPECT_EQ(Response(std::wstring(c.command) + L"Response", L"s7", c.key, L"", c.code), sent[0].xml);
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(nullptr, handler.Current());
        }
        EXPECT_TRUE(TakeCalls().empty()) << "nothing reaches the library before the answer";
    }
}

// A second request to show the confirmation while one is open ends the
// command with -3 (the dialog's own answers and the command's time limit:
// ConfirmDialogTests and the fuzz run).
TEST_F(PhoneTest, ADoubleConfirmationEndsTheCommandWithMinusThree) {
    Receive(Request(L"InstantMeeting", L"s8", L"<HeadCount>5</HeadCount>"));
    Pump();
    const HWND dialog = handler.Current()->ConfirmDialog();
    ASSERT_TRUE(::IsWindow(dialog));
    ::PostMessageW(window.m_hWnd, MSG_AP_BOSHSHOWCONFIRM, 0, 0);
    Pump();
    const auto sent = TakeSent();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(Response(L"InstantMeetingResponse", L"s8", L"", L"", -3), sent[0].xml);
    EXPECT_EQ(nullptr, handler.Current());
    EXPECT_FALSE(::IsWindow(dialog)) << "the end of the command closes its dialog";
    EXPECT_TRUE(TakeCalls().empty());
    // A late answer of the dialog finds no command.
    ::SendMessageW(window.m_hWnd, MSG_AP_BOSHCONFIRMOK, 0, 0);
    EXPECT_TRUE(TakeSent().empty());
}

// The busy answer goes to whoever asked, not to the phone whose request runs.
TEST_F(PhoneTest, ASecondRequestIsAnsweredBusyAndTheFirstGoesOn) {
    Receive(Request(L"StartMeeting", L"first", L"<HeadCount>2</HeadCount><MeetingKey>1</MeetingKey>"));
    Pump();
    CIPPhoneBoshCmd* const first = handler.Current();
    ASSERT_NE(nullptr, first);
    Receive(Request(L"JoinMeeting", L"second", L"<MeetingKey>2</MeetingKey>"), "other@acme.example.com");
    Pump();
    const auto sent = TakeSent();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ("other@acme.example.com", sent[0].receiver);
    EXPECT_EQ(Response(L"JoinMeetingResponse", L"second", L"2", L"", -3, true), sent[0].xml);
    EXPECT_EQ(first, handler.Current());
}

TEST_F(PhoneTest, AnEmptyMeetingListFailsTheWaitingCommand) {
    Receive(Request(L"JoinMeeting", L"s11", L"<MeetingKey>5</MeetingKey>"));
    Pump();
    TakeCalls();
    handler.OnMeetingReturn(L"<meetings/>");
    const auto sent = TakeSent();
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(Response(L"JoinMeetingResponse", L"s11", L"5", L"", -2), sent[0].xml);
}

// Logs outlive sessions and go out with support requests: the request's
// password and the meeting's reach neither the trace file nor the debugger,
// while the lines that carry the documents are still written.
TEST_F(PhoneTest, PasswordsStayOutOfTheTraceAndTheDebugger) {
    testsupport::EnvironmentFile trace(L"QK_TRACE_FILE");
    testsupport::DebugOutputCapture debug;
    Receive(Request(L"JoinMeeting", L"s12",
                    L"<HeadCount>1</HeadCount><MeetingKey>77</MeetingKey><Password>Req-Secret-1</Password>"));
    Pump();
    handler.OnMeetingReturn(L"<meetings><meeting><meetingKey>77</meetingKey>"
                            L"<meetingPassword>Meet-Secret-2</meetingPassword></meeting></meetings>");
    const auto sent = TakeSent();
    ASSERT_EQ(1u, sent.size());
    EXPECT_NE(std::wstring::npos, sent[0].xml.find(L"<MeetPassword>Meet-Secret-2</MeetPassword>")) << "the phone gets it";

    const std::string lines = testsupport::FileText(trace.Path());
    std::wstring written;
    for (const std::wstring& text : debug.Take()) written += text;
    for (const char* secret : {"Req-Secret-1", "Meet-Secret-2"}) {
        EXPECT_EQ(std::string::npos, lines.find(secret)) << secret;
        EXPECT_EQ(std::wstring::npos, written.find(std::wstring(secret, secret + std::strlen(secret)))) << secret;
    }
    for (const char* line : {"CIPPhoneBoshCmd::Start lpszXMLCmd=", "<Password>***</Password>",
                             "<meetingPassword>***</meetingPassword>", "<MeetPassword>***</MeetPassword>"})
        EXPECT_NE(std::string::npos, lines.find(line)) << line;
    EXPECT_NE(std::wstring::npos, written.find(L"<MeetPassword>***</MeetPassword>"));
}
