// Events between the module's windows travel over the real host's bus, reached
// through the main frame's host object.
#include <gtest/gtest.h>
#include <wrl/client.h>

#include <vector>

#include "host/HostApp.h"
#include "MainFrame.h"
#include "HostEvents.h"
#include "support/TestHost.h"

using Microsoft::WRL::ComPtr;

namespace {
struct Received {
    UINT code;
    INT_PTR first, second, third;
    bool operator==(const Received&) const = default;
};

class RecordingListener : public CVelEventListener {
public:
    HRESULT HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) override {
        received.push_back({code, first, second, third});
        return S_OK;
    }
    std::vector<Received> received;
};

// A value that only survives when parameters are pointer-sized.
const INT_PTR kWide = static_cast<INT_PTR>(0x0000123456789ABCLL);
}  // namespace

TEST(HostEvents, ReachTheBusOnlyThroughAFrameThatHoldsItsHost) {
    TestHost host;
    RecordingListener listener, imageAndBalloon;
    host.app->Bus().Subscribe(VelEvent::TrayTooltip, &listener);

    FireHostEvent(VelEvent::TrayTooltip, 1, 2, 3);  // no frame at all
    {
        CMainFrame frame;
        ComPtr<IVelEventService> service;
        EXPECT_EQ(E_FAIL, GetHostEventService(frame.GetApplication(), service.GetAddressOf()));
        FireHostEvent(VelEvent::TrayTooltip, 1, 2, 3);  // a frame without host
        SubscribeHostEvent(VelEvent::TrayImageState, &listener);
        EXPECT_EQ(0u, host.app->Bus().ListenerCount(VelEvent::TrayImageState));
        EXPECT_TRUE(listener.received.empty());

        frame.SetApplication(host.app);
        SubscribeHostEvents({VelEvent::TrayImageState, VelEvent::TrayBalloon}, &imageAndBalloon);
        FireHostEvent(VelEvent::TrayTooltip, 7, 8, kWide);
        FireHostEvent(VelEvent::TrayImageState, kWide, 0, -1);
        FireHostEvent(VelEvent::SignInSynchronized, 1, 2, 3);
        EXPECT_EQ((std::vector<Received>{{VelEvent::TrayTooltip, 7, 8, kWide}}), listener.received);
        EXPECT_EQ((std::vector<Received>{{VelEvent::TrayImageState, kWide, 0, -1}}), imageAndBalloon.received);
        UnsubscribeHostEvents({VelEvent::TrayImageState, VelEvent::TrayBalloon}, &imageAndBalloon);
        for (UINT code : {VelEvent::TrayImageState, VelEvent::TrayBalloon})
            EXPECT_EQ(0u, host.app->Bus().ListenerCount(code)) << code;
    }
    // The frame is gone with its host reference: the bus is out of reach again.
    EXPECT_EQ(nullptr, CMainFrame::GetInstance());
    FireHostEvent(VelEvent::TrayTooltip, 1, 2, 3);
    EXPECT_EQ(1u, listener.received.size());
    host.app->Bus().Unsubscribe(VelEvent::TrayTooltip, &listener);
}
