#pragma once
// The host's event service and bus, the listener base, and the event codes that
// travel between the module's windows and the suite's other modules.
#include "QkInterface.h"

// Parameters are pointer-sized: several events carry pointers to rectangles,
// texts and days.
class CVelEventListener {
public:
    virtual HRESULT HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) = 0;
protected:
    ~CVelEventListener() = default;
};

struct IVelEventBus : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Subscribe(UINT code, CVelEventListener* listener) = 0;   // 3
    virtual HRESULT STDMETHODCALLTYPE Unsubscribe(UINT code, CVelEventListener* listener) = 0; // 4
    virtual HRESULT STDMETHODCALLTYPE Fire(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) = 0; // 5
};
QK_DECLARE_UUID(IVelEventBus, 0x8E2F6A10, 0x5B7C, 0x4D3E, 0xA1, 0x92, 0x0C, 0x6B, 0x7E, 0x58, 0x3F, 0x24)

// Answered by the host application object through QueryInterface.
struct IVelEventService : public IUnknown {
    QK_PLACEHOLDER_SLOT(3);
    QK_PLACEHOLDER_SLOT(4);
    QK_PLACEHOLDER_SLOT(5);
    QK_PLACEHOLDER_SLOT(6);
    QK_PLACEHOLDER_SLOT(7);
    QK_PLACEHOLDER_SLOT(8);
    QK_PLACEHOLDER_SLOT(9);
    QK_PLACEHOLDER_SLOT(10);
    virtual HRESULT STDMETHODCALLTYPE GetEventBus(IVelEventBus** bus) = 0; // 11
};
QK_DECLARE_UUID(IVelEventService, 0x23A87C4D, 0x86FF, 0x4C2B, 0x8F, 0x33, 0x1D, 0xA5, 0xBE, 0x38, 0x03, 0x03)

namespace VelEvent {
enum : UINT {
    SignInSynchronized = 3,
    SignInError = 4,
    ShowBubble = 5,
    CloseBubble = 6,
    UserExit = 7,
    ShowMeeting = 8,
    OpenSettings = 9,
    SettingsOpened = 10,
    HostDefined11 = 11,
    TrayTooltip = 13,
    TrayImageState = 14,
    HostDefined15 = 15,
    ShowDay = 16,
    MainFrameHidden = 17,
    SignInAgain = 19,
    MainFrameCreated = 20,
    SignedOut = 21,
    AccountSwitch = 22,
    MessagingIdentity = 23,
    MessagingAccountAgain = 24,
    TrayBalloon = 25,
};
}
