#include "webapi/DemoDay.h"

#include <cmath>

#include "shared/XmlText.h"

namespace WebApi {
namespace {
constexpr double kMinute = 1.0 / (24.0 * 60.0);
constexpr const wchar_t* kSite = L"https://demo.quillkit.example/demo";

struct DemoMeeting {
    const wchar_t* topic = L"";
    const wchar_t* key = L"";
    DATE start = 0.0;
    DATE end = 0.0;
    const wchar_t* privilege = L"";  // "host", "alterhost" or attendee (empty)
    const wchar_t* hostName = L"Morgan Ellis";
    const wchar_t* serviceType = L"RZ";
    const wchar_t* scheduleFrom = L"NI";
    const wchar_t* password = L"";
    bool passwordRequired = false;
    bool hasRecording = false;
    bool crossSite = false;
    bool hasHost = true;
    bool recurring = false;
    bool exceptional = false;
    const wchar_t* siteUrl = kSite;
    const wchar_t* recurrence = L"";     // description
    const wchar_t* zoneText = L"";       // the zone as the site names it
    const wchar_t* jodaZone = L"";
    std::vector<const wchar_t*> invitees;
    const wchar_t* agenda = L"";
    std::vector<const wchar_t*> files;
    long joinBeforeHost = 0;
};

void AddField(std::wstring& markup, const wchar_t* name, const std::wstring& value) {
    markup += L'<';
    markup += name;
    markup += L'>';
    markup += EscapeXml(value);
    markup += L"</";
    markup += name;
    markup += L'>';
}

const wchar_t* YesNo(bool value) { return value ? L"true" : L"false"; }

MeetingEntry Render(const DemoMeeting& m, int number, DATE now) {
    const wchar_t* status = m.end < now ? L"past" : (m.start <= now ? L"inProgress" : L"upcoming");
    const std::wstring entryId = L"demo-" + std::to_wstring(number);
    std::wstring markup = L"<meeting>";
    AddField(markup, L"meetingTopic", m.topic);
    AddField(markup, L"meetingType", L"MC");
    AddField(markup, L"meetingKey", m.key);
    if (*m.password) AddField(markup, L"meetingPassword", m.password);
    AddField(markup, L"entryID", entryId);
    AddField(markup, L"confId", L"conf-" + std::to_wstring(number));
    AddField(markup, L"confKey", L"7" + std::wstring(m.key));
    markup += L"<host>";
    AddField(markup, L"displayName", m.hostName);
    markup += L"</host><accessURL>";
    if (m.hasRecording) AddField(markup, L"playback", std::wstring(m.siteUrl) + L"/playback/" + m.key);
    AddField(markup, L"meetingDetail", std::wstring(m.siteUrl) + L"/meetings/" + m.key);
    markup += L"</accessURL>";
    AddField(markup, L"siteUrl", m.siteUrl);
    AddField(markup, L"startTime", FormatDate(m.start));
    AddField(markup, L"endTime", FormatDate(m.end));
    AddField(markup, L"joinBeforeHostTime", std::to_wstring(m.joinBeforeHost));
    AddField(markup, L"meetingStatus", status);
    if (!m.hasHost) AddField(markup, L"HasHost", L"no");
    if (*m.privilege) AddField(markup, L"meetingPrivilege", m.privilege);
    AddField(markup, L"isAudioOnly", L"no");
    AddField(markup, L"hasRecording", YesNo(m.hasRecording));
    AddField(markup, L"isCrossSiteConf", YesNo(m.crossSite));
    AddField(markup, L"disableRestart", L"false");
    AddField(markup, L"isRecurrence", m.recurring ? L"yes" : L"no");
    AddField(markup, L"isExceptional", m.exceptional ? L"yes" : L"no");
    AddField(markup, L"isPwdRequird", m.passwordRequired ? L"yes" : L"no");
    AddField(markup, L"serviceType", m.serviceType);
    AddField(markup, L"scheduleFrom", m.scheduleFrom);
    if (m.recurring) {
        markup += L"<recurrence>";
        AddField(markup, L"description", m.recurrence);
        AddField(markup, L"timeZone", m.zoneText);
        AddField(markup, L"jodaTimeZone", m.jodaZone);
        markup += L"</recurrence>";
    }
    if (!m.invitees.empty()) {
        markup += L"<invitees>";
        for (const wchar_t* name : m.invitees) {
            markup += L"<invitee>";
            AddField(markup, L"displayName", name);
            markup += L"</invitee>";
        }
        markup += L"</invitees>";
    }
    if (*m.agenda) AddField(markup, L"agenda", m.agenda);
    if (!m.files.empty()) {
        markup += L"<files>";
        for (const wchar_t* file : m.files) AddField(markup, L"file", file);
        markup += L"</files>";
    }
    markup += L"</meeting>";
    return {m.start, std::move(markup)};
}
}  // namespace

std::vector<MeetingEntry> MakeDemoMeetings(DATE now) {
    // Whole five-minute steps read like a real calendar.
    const DATE base = std::floor(now / (5 * kMinute)) * (5 * kMinute);
    const DATE today = std::floor(now);
    auto at = [](DATE day, int hour, int minute) { return day + (hour * 60 + minute) * kMinute; };

    std::vector<DemoMeeting> day;
    {
        DemoMeeting m;
        m.topic = L"Weekly status review";
        m.key = L"251840637";
        m.start = base - 240 * kMinute;
        m.end = base - 180 * kMinute;
        m.privilege = L"host";
        m.hostName = L"You";
        m.hasRecording = true;
        m.invitees = {L"Priya Raman", L"Tomas Lindqvist", L"Ada Okafor"};
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Design sync with the platform team";
        m.key = L"251840912";
        m.start = base - 120 * kMinute;
        m.end = base - 75 * kMinute;
        m.hostName = L"Tomas Lindqvist";
        m.hasHost = false;  // the host never joined
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Customer onboarding: Larkspur & Finch";
        m.key = L"251841205";
        m.start = base - 20 * kMinute;
        m.end = base + 40 * kMinute;
        m.privilege = L"host";
        m.hostName = L"You";
        m.invitees = {L"Helen Finch", L"Oscar Larkspur", L"Priya Raman"};
        m.agenda = L"Welcome and introductions\nAccount set-up walkthrough\nQuestions";
        m.files = {L"Onboarding checklist.pdf", L"Larkspur rollout plan.xlsx"};
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Quarterly planning";
        m.key = L"251841477";
        m.start = base + 25 * kMinute;
        m.end = base + 85 * kMinute;
        m.privilege = L"alterhost";
        m.hostName = L"Ada Okafor";
        m.password = L"Plan4Q";
        m.passwordRequired = true;
        m.joinBeforeHost = 10;
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Architecture office hours";
        m.key = L"251838020";
        m.start = base + 120 * kMinute;
        m.end = base + 180 * kMinute;
        m.hostName = L"Grace Whitfield";
        m.recurring = true;
        m.recurrence = L"Every week on Tuesday and Thursday";
        m.zoneText = L"Pacific Time (San Francisco)";
        m.jodaZone = L"America/Los_Angeles";
        m.scheduleFrom = L"OI";
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Partner training: advanced scheduling";
        m.key = L"880214563";
        m.start = base + 240 * kMinute;
        m.end = base + 330 * kMinute;
        m.hostName = L"Kenji Watanabe";
        m.serviceType = L"RY";
        m.crossSite = true;
        m.siteUrl = L"https://partners.quillkit.example/partners";
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Release retrospective";
        m.key = L"251838555";
        m.start = base + 360 * kMinute;
        m.end = base + 420 * kMinute;
        m.privilege = L"host";
        m.hostName = L"You";
        m.recurring = true;
        m.exceptional = true;
        m.recurrence = L"Every two weeks on Friday";
        m.zoneText = L"Central European Time (Berlin)";
        m.jodaZone = L"Europe/Berlin";
        day.push_back(m);
    }
    // The days around today, at fixed times.
    {
        DemoMeeting m;
        m.topic = L"Budget review";
        m.key = L"251830101";
        m.start = at(today - 1, 10, 0);
        m.end = at(today - 1, 11, 0);
        m.privilege = L"host";
        m.hostName = L"You";
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"1:1 with Priya";
        m.key = L"251830188";
        m.start = at(today - 1, 15, 30);
        m.end = at(today - 1, 16, 0);
        m.hostName = L"Priya Raman";
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Sprint planning";
        m.key = L"251850333";
        m.start = at(today + 1, 9, 30);
        m.end = at(today + 1, 11, 0);
        m.privilege = L"host";
        m.hostName = L"You";
        m.recurring = true;
        m.recurrence = L"Every two weeks on Monday";
        m.zoneText = L"Eastern Time (New York)";
        m.jodaZone = L"America/New_York";
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Vendor demo: Northwind Analytics";
        m.key = L"251850478";
        m.start = at(today + 1, 13, 0);
        m.end = at(today + 1, 14, 0);
        m.hostName = L"Sam Northwind";
        m.crossSite = true;
        day.push_back(m);
    }
    {
        DemoMeeting m;
        m.topic = L"Security awareness webinar";
        m.key = L"880299001";
        m.start = at(today + 2, 11, 0);
        m.end = at(today + 2, 12, 0);
        m.hostName = L"Ines Duarte";
        m.serviceType = L"RX";
        day.push_back(m);
    }

    std::vector<MeetingEntry> meetings;
    meetings.reserve(day.size());
    for (size_t i = 0; i < day.size(); ++i) meetings.push_back(Render(day[i], static_cast<int>(i) + 1, now));
    return meetings;
}
}  // namespace WebApi
