#pragma once
// Interfaces of the meetings library (qkIstMt.dll) and the web-API library
// (qkWebAPI.dll). Their slot numbers are fixed; unused slots are placeholders.
#include "QkInterface.h"
#include <oaidl.h>

// Meeting-operations object. The owner window of the actions is always the
// main frame; the outcome of the last action is asked for without one.
struct IQKMeetingOperations : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE StartInstantMeeting(HWND owner, LONG callerCode, BSTR phoneNumber, LONG reserved) = 0; // 3
    virtual HRESULT STDMETHODCALLTYPE JoinMeeting(HWND owner, BSTR meetingKey, BSTR password, BSTR siteUrl, LONG value,
                                                  BSTR meetingKey2, LONG callerCode, BSTR phoneNumber, BSTR attendeeId) = 0; // 4
    virtual HRESULT STDMETHODCALLTYPE StartScheduledMeeting(HWND owner, BSTR meetingKey, BSTR topic, LONG value,
                                                            BSTR meetingKey2, LONG callerCode, BSTR phoneNumber, BSTR attendeeId) = 0; // 5
    virtual HRESULT STDMETHODCALLTYPE StartPersonalConference(HWND owner) = 0; // 6
    QK_PLACEHOLDER_SLOT(7);
    QK_PLACEHOLDER_SLOT(8);
    QK_PLACEHOLDER_SLOT(9);
    QK_PLACEHOLDER_SLOT(10);
    QK_PLACEHOLDER_SLOT(11);
    virtual HRESULT STDMETHODCALLTYPE GetResult(LONG* resultCode, BSTR* resultXml, LONG flag) = 0; // 12
};
QK_DECLARE_UUID(IQKMeetingOperations, 0xF1A920A3, 0xAD57, 0x4B9D, 0x87, 0xD2, 0xF2, 0x7F, 0x03, 0x4B, 0x92, 0x74)
inline constexpr CLSID CLSID_QKMeetingOperations =
    {0x68F4FC5C, 0x0469, 0x4433, {0xB2, 0x78, 0x1D, 0xE3, 0x8F, 0x97, 0x89, 0x24}};

// Meeting-pages object.
struct IQKMeetingPages : public IUnknown {
    QK_PLACEHOLDER_SLOT(3);
    QK_PLACEHOLDER_SLOT(4);
    QK_PLACEHOLDER_SLOT(5);
    QK_PLACEHOLDER_SLOT(6);
    QK_PLACEHOLDER_SLOT(7);
    virtual HRESULT STDMETHODCALLTYPE ScheduleMeeting(HWND owner) = 0;             // 8
    virtual HRESULT STDMETHODCALLTYPE EditMeeting(BSTR meetingReference) = 0;      // 9
    virtual HRESULT STDMETHODCALLTYPE OpenAddress(HWND owner, BSTR address) = 0;   // 10
    QK_PLACEHOLDER_SLOT(11);
    QK_PLACEHOLDER_SLOT(12);
    virtual HRESULT STDMETHODCALLTYPE GoToMeetingSite() = 0;                       // 13
    QK_PLACEHOLDER_SLOT(14);
    QK_PLACEHOLDER_SLOT(15);
    QK_PLACEHOLDER_SLOT(16);
    QK_PLACEHOLDER_SLOT(17);
    virtual HRESULT STDMETHODCALLTYPE ShowHelp(LONG topic) = 0;                    // 18
    virtual HRESULT STDMETHODCALLTYPE ShowAboutBox(HWND owner) = 0;                // 19
    QK_PLACEHOLDER_SLOT(20);
    QK_PLACEHOLDER_SLOT(21);
    virtual HRESULT STDMETHODCALLTYPE ConnectToMyComputer(HWND owner) = 0;         // 22
    virtual HRESULT STDMETHODCALLTYPE IsLibraryCurrent() = 0;                      // 23
};
QK_DECLARE_UUID(IQKMeetingPages, 0x5F42AE0F, 0xE9FB, 0x43FC, 0xA9, 0x41, 0x8B, 0xBD, 0xD8, 0x34, 0xA7, 0x5D)
inline constexpr CLSID CLSID_QKMeetingPages =
    {0x0FE344D4, 0x7005, 0x44A7, {0x86, 0xD4, 0xED, 0x26, 0x1E, 0x97, 0x77, 0x48}};

// Synchronisation status values relied on by the module.
namespace WebApiSyncStatus {
enum : LONG { Running = 1, Succeeded = 2, SignInAgain = 19, SignInAgainToo = 33 };
}

// Web-API synchronisation object.
struct IQKWebApiSync : public IUnknown {
    QK_PLACEHOLDER_SLOT(3);
    QK_PLACEHOLDER_SLOT(4);
    QK_PLACEHOLDER_SLOT(5);
    virtual HRESULT STDMETHODCALLTYPE StartSync(DATE rangeStart, DATE rangeEnd, HWND owner) = 0;              // 6
    virtual HRESULT STDMETHODCALLTYPE GetSyncStatus(LONG* status) = 0;                                        // 7
    virtual HRESULT STDMETHODCALLTYPE QueryMeetings(LONG listType, DATE rangeStart, DATE rangeEnd, BSTR* xml) = 0; // 8
};
QK_DECLARE_UUID(IQKWebApiSync, 0x0786CF96, 0xC43C, 0x498A, 0x99, 0x09, 0xD1, 0xFA, 0xB3, 0xB4, 0x5B, 0x20)
inline constexpr CLSID CLSID_QKWebApiSync =
    {0x82DBF6EE, 0xF71A, 0x4123, {0xBB, 0x41, 0xCC, 0x93, 0x9E, 0xDC, 0xC9, 0x48}};
