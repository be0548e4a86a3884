#pragma once
// The suite's settings service and meeting component as the module sees them,
// plus the control interface through which other suite components change the
// account and the running meetings.
#include <oaidl.h>

#include "QkInterface.h"

inline constexpr CLSID CLSID_QKSettingsService =
    {0xA12A21B3, 0xCFDA, 0x497E, {0x98, 0xC0, 0xCE, 0x60, 0xD4, 0xD1, 0x08, 0xC8}};
inline constexpr CLSID CLSID_QKMeetingComponent =
    {0x8C5A23F1, 0xA4F2, 0x47F0, {0x8E, 0x95, 0xCF, 0x33, 0xFD, 0xDF, 0xF1, 0xAA}};

// Event interfaces (dispatch only): the account changed (dispatch id 4) and the
// running meetings changed (dispatch id 96), each with one BSTR argument.
inline constexpr IID DIID_QKAccountEvents = {0x071B8A7E, 0xE4A1, 0x4CB2, {0xA7, 0x26, 0x39, 0xD3, 0xE0, 0xAA, 0x5B, 0x21}};
inline constexpr IID DIID_QKMeetingEvents = {0x38119B5D, 0x508D, 0x4AED, {0x8E, 0x7C, 0x26, 0x7F, 0x18, 0x1A, 0x4B, 0x8D}};
inline constexpr DISPID DISPID_QKAccountChanged = 4;
inline constexpr DISPID DISPID_QKMeetingsChanged = 96;

struct IQKSettingsService : public IUnknown {
    QK_PLACEHOLDER_SLOT(3);
    QK_PLACEHOLDER_SLOT(4);
    QK_PLACEHOLDER_SLOT(5);
    QK_PLACEHOLDER_SLOT(6);
    QK_PLACEHOLDER_SLOT(7);
    virtual HRESULT STDMETHODCALLTYPE GetAccountDocument(BSTR* accountXml) = 0;  // 8
};
QK_DECLARE_UUID(IQKSettingsService, 0xE9AA675A, 0x1DEB, 0x4DDE, 0xB2, 0xFF, 0x68, 0x90, 0x12, 0x90, 0x54, 0xF8)

struct IQKMeetingComponent : public IUnknown {
    QK_PLACEHOLDER_SLOT(3);
    QK_PLACEHOLDER_SLOT(4);
    QK_PLACEHOLDER_SLOT(5);
    QK_PLACEHOLDER_SLOT(6);
    // The meetings running in this session: <meetings><meeting><meetingKey/><userType/></meeting>...</meetings>
    virtual HRESULT STDMETHODCALLTYPE GetRunningMeetings(BSTR* meetingsXml) = 0;  // 7
};
QK_DECLARE_UUID(IQKMeetingComponent, 0xFC653998, 0x9F85, 0x4FF1, 0x98, 0x98, 0xE9, 0x37, 0x80, 0xC4, 0x16, 0x12)

// Answered by both objects. Every change is stored for the user (it survives
// restarts) and fired to every connected sink of the matching event interface.
struct IQKSuiteState : public IUnknown {
    // E_INVALIDARG for a null or malformed document; nothing changes then.
    virtual HRESULT STDMETHODCALLTYPE SetAccountDocument(BSTR accountXml) = 0;
    // Forgets the stored account: the built-in demo account answers again.
    virtual HRESULT STDMETHODCALLTYPE ResetAccountDocument() = 0;
    // E_INVALIDARG for a null or malformed document; nothing changes then.
    virtual HRESULT STDMETHODCALLTYPE SetRunningMeetings(BSTR meetingsXml) = 0;
    // The user's messaging account as the host hands it on in event 23:
    // <GetParleyAccount> with Result, ErrorID, ErrorMessage and Information
    // (Name, Password, ParleyBoshUrl). S_OK when it holds an account, S_FALSE
    // when it reports why there is none.
    virtual HRESULT STDMETHODCALLTYPE GetMessagingAccount(BSTR* accountXml) = 0;
};
QK_DECLARE_UUID(IQKSuiteState, 0x6F3C2B18, 0x0E4D, 0x4A57, 0x9C, 0x21, 0x5D, 0x88, 0x0B, 0x7A, 0x3E, 0x91)
