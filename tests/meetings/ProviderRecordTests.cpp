// Meeting records, searches and detail parameters as the provider reads them
// from the day's meetings document.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "BubblePara.h"
#include "MeetingTexts.h"
#include "ProviderFixture.h"

using namespace webapitest;

namespace {
class MeetingRecords : public ProviderTest {};

// The plain text fields share one reader; these are the ones with a
// conversion of their own, and one nested path.
TEST_F(MeetingRecords, ConvertTheFieldsOfTheMeeting) {
    const DATE today = Today();
    Publish({StoreMeeting(L"Budget & plans", At(today, 10, 30), At(today, 12, 0))
                 .Set(L"meetingKey", L"123456789")
                 .Set(L"host/displayName", L"Ada Okafor")
                 .Set(L"joinBeforeHostTime", L"15")
                 .Set(L"meetingStatus", L"upcoming")
                 .Set(L"meetingPrivilege", L"alterhost")
                 .Set(L"isAudioOnly", L"yes")
                 .Set(L"audioStatus", L"notStarted")
                 .Set(L"hasRecording", L"TRUE")
                 .Set(L"isRecurrence", L"Y")
                 .Set(L"serviceType", L"ry")
                 .Set(L"scheduleFrom", L"NI")});
    Show();
    const CMeetingRecord r = Record(0);
    EXPECT_STREQ(L"Budget & plans", r.m_strTopic.c_str());
    EXPECT_STREQ(L"123456789", r.m_strKey.c_str());
    EXPECT_STREQ(L"Ada Okafor", r.m_strHostName.c_str());
    EXPECT_NEAR(At(today, 10, 30), r.m_dtStart, 1e-8);
    EXPECT_NEAR(At(today, 12, 0), r.m_dtEnd, 1e-8);
    EXPECT_EQ(5400, r.m_nDurationSeconds);
    EXPECT_EQ(15, r.m_nJoinBeforeHostMinutes);
    EXPECT_EQ(MeetingStatus::Upcoming, r.m_nStatus);
    EXPECT_EQ(1, r.m_bProminent) << "starts within the hour";
    EXPECT_EQ(1, r.m_bHasRecording);
    EXPECT_EQ(MeetingPrivilege::AlternateHost, r.m_nPrivilege);
    EXPECT_TRUE(r.m_bRecurring);
    EXPECT_EQ(MeetingService::Training, r.m_nServiceType);
    EXPECT_EQ(ScheduleSource::NI, r.m_nScheduleSource);
    EXPECT_EQ(1, r.m_bAudioPending);
}

TEST_F(MeetingRecords, AbsentFieldsReadAsEmptyAndIndexesOutsideTheDayAreRefused) {
    const DATE today = Today();
    Publish({StoreMeeting(L"bare", At(today, 15, 0), At(today, 15, 45))
                 .Set(L"serviceType", L"RQ")
                 .Set(L"meetingPrivilege", L"Host")
                 .Set(L"isAudioOnly", L"yes")
                 .Set(L"audioStatus", L"inProgress")});
    Show();
    CMeetingRecord r;
    r.m_nServiceType = MeetingService::Event;
    ASSERT_EQ(S_OK, provider->GetMeeting(0, &r));
    EXPECT_EQ(MeetingService::Event, r.m_nServiceType) << "an unknown service keeps the preset";
    EXPECT_EQ(MeetingPrivilege::Attendee, r.m_nPrivilege) << "privilege texts are compared exactly";
    EXPECT_EQ(0, r.m_bAudioPending) << "audio already running";
    EXPECT_TRUE(r.m_strKey.IsEmpty());
    EXPECT_EQ(0, r.m_bHasRecording);
    EXPECT_EQ(ScheduleSource::Other, r.m_nScheduleSource);
    EXPECT_EQ(MeetingStatus::None, r.m_nStatus);

    r.m_strTopic = L"untouched";
    EXPECT_EQ(E_INVALIDARG, provider->GetMeeting(1, &r));
    EXPECT_EQ(E_INVALIDARG, provider->GetMeeting(0xFFFFFFFFu, &r));
    EXPECT_EQ(E_INVALIDARG, provider->GetMeeting(0, nullptr));
    EXPECT_STREQ(L"untouched", r.m_strTopic.c_str());
}

TEST_F(MeetingRecords, StatusesFollowTheTextAndTheClock) {
    const struct {
        const wchar_t* text;
        int startHour, endHour;  // today; now is 10:00
        INT32 expected;
    } cases[] = {{L"UPCOMING", 11, 12, MeetingStatus::Upcoming},  {L"upcoming", 8, 9, MeetingStatus::Past},
                 {L"InProgress", 12, 13, MeetingStatus::InProgress}, {L"PAST", 11, 12, MeetingStatus::Past},
                 {L"scheduled", 11, 12, MeetingStatus::Upcoming}, {L"scheduled", 9, 11, MeetingStatus::None},
                 {nullptr, 11, 12, MeetingStatus::None}};
    for (const auto& c : cases) {
        StoreMeeting meeting(L"m", At(Today(), c.startHour, 0), At(Today(), c.endHour, 0));
        if (c.text) meeting.Set(L"meetingStatus", c.text);
        Publish({meeting});
        Show();
        EXPECT_EQ(c.expected, Record(0).m_nStatus) << (c.text ? c.text : L"(none)") << " " << c.startHour;
    }
}

TEST_F(MeetingRecords, APastMeetingWithoutItsHostHasNoDuration) {
    const DATE today = Today();
    Publish({StoreMeeting(L"no host element", At(today, 7, 0), At(today, 8, 0)).Set(L"meetingStatus", L"past"),
             StoreMeeting(L"host never came", At(today, 7, 30), At(today, 8, 0))
                 .Set(L"meetingStatus", L"past")
                 .Set(L"HasHost", L"no"),
             StoreMeeting(L"ended upcoming", At(today, 8, 0), At(today, 8, 20))
                 .Set(L"meetingStatus", L"upcoming")
                 .Set(L"HasHost", L"false"),
             StoreMeeting(L"not yet", At(today, 11, 0), At(today, 11, 45)).Set(L"HasHost", L"no")});
    Show();
    EXPECT_EQ(3600, Record(0).m_nDurationSeconds);
    EXPECT_EQ(0, Record(1).m_nDurationSeconds);
    EXPECT_EQ(0, Record(2).m_nDurationSeconds) << "an ended upcoming meeting counts as past";
    EXPECT_EQ(2700, Record(3).m_nDurationSeconds);
}

class Searches : public ProviderTest {};

TEST_F(Searches, TheFirstGivenIdDecidesAndTheLastMatchWins) {
    const DATE day = Today() + 1;
    Publish({StoreMeeting(L"A", At(day, 8, 0), At(day, 9, 0))
                 .Set(L"entryID", L"E1")
                 .Set(L"meetingKey", L"K2")
                 .Set(L"confId", L"C1")
                 .Set(L"accessURL/meetingDetail", L"https://site/a"),
             StoreMeeting(L"B", At(day, 9, 0), At(day, 10, 0)).Set(L"entryID", L"E2").Set(L"meetingKey", L"K1"),
             StoreMeeting(L"C", At(day, 10, 0), At(day, 11, 0)).Set(L"meetingKey", L"K1").Set(L"confId", L"C1")});
    Show(day);
    EXPECT_EQ(0, provider->FindMeeting(L"K1", nullptr, L"E1", TRUE)) << "only the entry id is compared";
    EXPECT_EQ(-1, provider->FindMeeting(L"K1", nullptr, L"e1", TRUE)) << "compared with case";
    EXPECT_EQ(2, provider->FindMeeting(L"K1", nullptr, nullptr, TRUE));
    EXPECT_EQ(1, provider->FindMeeting(L"K1", nullptr, nullptr, FALSE));
    EXPECT_EQ(2, provider->FindMeeting(L"K1", L"C1", L"", TRUE)) << "an empty entry id counts as not given";
    EXPECT_EQ(2, provider->FindMeeting(nullptr, L"C1", nullptr, TRUE));
    EXPECT_EQ(-1, provider->FindMeeting(L"", L"", L"", TRUE));

    CStringEx url(L"before");
    EXPECT_TRUE(provider->GetMeetingDetailUrl(L"K2", nullptr, url));
    EXPECT_STREQ(L"https://site/a", url.c_str());
    EXPECT_FALSE(provider->GetMeetingDetailUrl(L"K1", nullptr, url)) << "found, but without a detail address";
    EXPECT_FALSE(provider->GetMeetingDetailUrl(L"K9", nullptr, url));
}

// The detail texts below are those of the en-US locale and the strings of
// the resource library.
class DetailInfo : public ProviderTest {
protected:
    void SetUp() override {
        ProviderTest::SetUp();
        SetNow(At(kDay, 10, 0));
    }
    static constexpr DATE kDay = 45455.0;  // Wednesday, June 12, 2024
    // Local time minus universal time on that day for the zones this runs in.
    static int OffsetMinutes() {
        const char* tz = std::getenv("TZ");
        if (!tz || std::strcmp(tz, "UTC") == 0) return 0;
        if (std::strcmp(tz, "America/New_York") == 0) return -240;
        return 1 << 30;
    }
    void RequireKnownSetting() {
        if (::GetUserDefaultLCID() != 0x409) GTEST_SKIP() << "texts are for en-US";
        if (OffsetMinutes() == 1 << 30) GTEST_SKIP() << "no expectations for this TZ";
    }
    StoreMeeting Recurring(const wchar_t* zoneText, const wchar_t* joda) {
        return StoreMeeting(L"Weekly sync", At(kDay, 12, 0), At(kDay, 13, 30))
            .Set(L"recurrence/description", L"Every Wednesday")
            .Set(L"recurrence/timeZone", zoneText)
            .Set(L"recurrence/jodaTimeZone", joda);
    }
};

TEST_F(DetailInfo, RecurringMeetingsOfAKnownOtherZoneAreShownInThatZone) {
    RequireKnownSetting();
    TIME_ZONE_INFORMATION local{};
    ::GetTimeZoneInformation(&local);
    std::wstring localName = local.StandardName;
    for (auto& c : localName) c = static_cast<wchar_t>(::towupper(c));
    Publish({Recurring(L"Tokyo (GMT+09:00)", L"Asia/Tokyo"), Recurring(L"Dublin", L"Europe/Dublin"),
             Recurring(localName.c_str(), L"Asia/Tokyo"),
             StoreMeeting(L"One-off", At(kDay, 12, 0), At(kDay, 12, 1))
                 .Set(L"recurrence/timeZone", L"Tokyo")
                 .Set(L"recurrence/jodaTimeZone", L"Asia/Tokyo")});
    Show();
    // 12:00 local is 21:00 in Tokyo from UTC, 01:00 the next day from New York.
    const std::wstring local12 = L"Wednesday, June 12, 2024, 12:00 PM (1 hour 30 mins)";
    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"Every Wednesday (Tokyo (GMT+09:00))", OffsetMinutes() == 0
                                                     ? L"Wednesday, June 12, 2024, 9:00 PM (1 hour 30 mins)"
                                                     : L"Thursday, June 13, 2024, 1:00 AM (1 hour 30 mins)"},
        {L"Every Wednesday (Dublin)", local12},  // an unknown zone falls back to the local one
        {L"Every Wednesday", local12},           // the local zone by name, in any case
        {L"", L"Wednesday, June 12, 2024, 12:00 PM (1 min)"},  // no recurrence
    };
    for (INT32 i = 0; i < 4; ++i) {
        CBubblePara para;
        ASSERT_TRUE(provider->GetMeetingDetailInfo(i, &para)) << i;
        EXPECT_EQ(expected[i].first, para.m_strRecurrence.str()) << i;
        EXPECT_EQ(expected[i].second, para.m_strTime.str()) << i;
    }
}

TEST_F(DetailInfo, CollectsThePeopleTheAgendaTheFilesAndTheMarks) {
    Publish({StoreMeeting(L"Review", At(kDay, 14, 0), At(kDay, 15, 0))
                 .Set(L"host/displayName", L"Grace")
                 .Add(L"invitees/invitee/displayName", L"Ann")
                 .Add(L"invitees/invitee/displayName", L"Bo")
                 .Add(L"invitees/invitee/displayName", L"Cy")
                 .Set(L"agenda", L"Numbers")
                 .Add(L"files/file", L"a.pdf")
                 .Add(L"files/file", L"b.xlsx")
                 .Set(L"scheduleFrom", L"OI")
                 .Set(L"serviceType", L"Rx")
                 .Set(L"isExceptional", L"yes")});
    Show();
    CBubblePara para;
    para.m_files = {L"stale"};
    para.m_bServiceRY = 1;
    ASSERT_TRUE(provider->GetMeetingDetailInfo(0, &para));
    EXPECT_STREQ(L"Grace", para.m_strHostName.c_str());
    EXPECT_STREQ(L"Ann;Bo;Cy", para.m_strInvitees.c_str());
    EXPECT_STREQ(L"Numbers", para.m_strAgenda.c_str());
    EXPECT_EQ((std::vector<CStringEx>{L"a.pdf", L"b.xlsx"}), para.m_files);
    EXPECT_EQ(0, para.m_bNotFromOI);
    EXPECT_EQ(1, para.m_bServiceRX);
    EXPECT_EQ(1, para.m_bServiceRY) << "never cleared";
    EXPECT_EQ(1, para.m_bException);

    CBubblePara untouched;
    untouched.m_strTopic = L"keep";
    EXPECT_FALSE(provider->GetMeetingDetailInfo(1, &untouched));
    EXPECT_FALSE(provider->GetMeetingDetailInfo(-1, &untouched));
    EXPECT_STREQ(L"keep", untouched.m_strTopic.c_str());
}

TEST_F(MeetingRecords, DurationTextsUseTheResourceStrings) {
    const std::pair<LONG, const wchar_t*> cases[] = {
        {59, L"0 min"},   {60, L"1 min"},        {150, L"2 mins"},         {3600, L"1 hour"},
        {3660, L"1 hour 1 min"}, {7200, L"2 hours"}, {9000, L"2 hours 30 mins"}};
    for (const auto& [seconds, text] : cases) EXPECT_EQ(text, MeetingTexts::DurationText(seconds).str()) << seconds;
}
}  // namespace
