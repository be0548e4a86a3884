#include "meetinglib/MeetingPages.h"

#include "meetinglib/CallLog.h"
#include "meetinglib/MeetingLibSettings.h"

namespace MeetingLib {

HRESULT CMeetingPages::Record(const CCallLine& line) noexcept {
    line.Write();
    try {
        return MeetingLibSettings::ActionResult();
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::ScheduleMeeting(HWND owner) {
    try {
        return Record(CCallLine(L"ScheduleMeeting").Window(L"owner", owner));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::EditMeeting(BSTR meetingReference) {
    try {
        return Record(CCallLine(L"EditMeeting").Text(L"meeting", meetingReference));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::OpenAddress(HWND owner, BSTR address) {
    try {
        return Record(CCallLine(L"OpenAddress").Window(L"owner", owner).Text(L"address", address));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::GoToMeetingSite() {
    try {
        return Record(CCallLine(L"GoToMeetingSite"));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::ShowHelp(LONG topic) {
    try {
        return Record(CCallLine(L"ShowHelp").Number(L"topic", topic));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::ShowAboutBox(HWND owner) {
    try {
        return Record(CCallLine(L"ShowAboutBox").Window(L"owner", owner));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::ConnectToMyComputer(HWND owner) {
    try {
        return Record(CCallLine(L"ConnectToMyComputer").Window(L"owner", owner));
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingPages::IsLibraryCurrent() {
    try {
        const HRESULT answer = MeetingLibSettings::LibraryCurrentResult();
        CCallLine(L"IsLibraryCurrent").Number(L"answer", answer).Write();
        return answer;
    } catch (...) {
        return E_UNEXPECTED;
    }
}
}  // namespace MeetingLib
