// The host's event bus: per-code listeners called synchronously, and lists
// that may change while an event is being delivered.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include <wrl/client.h>

#include "host/EventBus.h"
#include "host/HostApp.h"

using Microsoft::WRL::ComPtr;

namespace {
struct Delivery {
    int listener;
    UINT code;
    INT_PTR p1, p2, p3;
    bool operator==(const Delivery&) const = default;
};

class RecordingListener : public CVelEventListener {
public:
    RecordingListener(int id, std::vector<Delivery>& log) : m_id(id), m_log(log) {}
    HRESULT HandleEvent(UINT code, INT_PTR p1, INT_PTR p2, INT_PTR p3) override {
        m_log.push_back({m_id, code, p1, p2, p3});
        if (onEvent) onEvent();
        return S_OK;
    }
    std::function<void()> onEvent;

private:
    int m_id;
    std::vector<Delivery>& m_log;
};

class EventBus : public ::testing::Test {
protected:
    ComPtr<IVelEventBus> bus;
    std::vector<Delivery> log;
    RecordingListener a{1, log}, b{2, log}, c{3, log};

    void SetUp() override {
        CHostApp* host = new CHostApp(L"qkhost.exe", {});
        ComPtr<IVelEventService> service;
        ASSERT_EQ(S_OK, host->QueryInterface(IID_PPV_ARGS(&service)));
        host->Release();
        ASSERT_EQ(S_OK, service->GetEventBus(&bus));
        ASSERT_TRUE(bus);
    }
};

TEST_F(EventBus, DeliversOnceToEachListenerOfTheFiredCodeUntilItUnsubscribes) {
    EXPECT_EQ(S_OK, bus->Subscribe(13, &a));
    EXPECT_EQ(S_FALSE, bus->Subscribe(13, &a));
    EXPECT_EQ(E_POINTER, bus->Subscribe(13, nullptr));
    bus->Subscribe(14, &b);
    bus->Subscribe(13, &c);
    int text = 0;
    bus->Fire(13, reinterpret_cast<INT_PTR>(&text), 0, -1);
    bus->Fire(99, 1, 2, 3);
    EXPECT_EQ(S_OK, bus->Unsubscribe(13, &a));
    EXPECT_EQ(S_FALSE, bus->Unsubscribe(13, &a));
    EXPECT_EQ(S_FALSE, bus->Unsubscribe(14, &c));
    bus->Fire(13, 0, 0, 0);
    const std::vector<Delivery> expected = {{1, 13, reinterpret_cast<INT_PTR>(&text), 0, -1},
                                            {3, 13, reinterpret_cast<INT_PTR>(&text), 0, -1},
                                            {3, 13, 0, 0, 0}};
    EXPECT_EQ(expected, log);
}

TEST_F(EventBus, ListenersUnsubscribedDuringAFireAreNotCalledAgain) {
    bus->Subscribe(17, &a);
    bus->Subscribe(17, &b);
    bus->Subscribe(17, &c);
    // a leaves and takes b with it before b's turn; c stays.
    a.onEvent = [&] {
        bus->Unsubscribe(17, &b);
        bus->Unsubscribe(17, &a);
    };
    bus->Fire(17, 0, 0, 0);
    bus->Fire(17, 0, 0, 0);
    EXPECT_EQ((std::vector<Delivery>{{1, 17, 0, 0, 0}, {3, 17, 0, 0, 0}, {3, 17, 0, 0, 0}}), log);
}

TEST_F(EventBus, ListenerDroppingTheLastBusReferenceDuringAFireIsSafe) {
    bus->Subscribe(7, &a);
    bus->Subscribe(7, &b);
    IVelEventBus* raw = bus.Detach();
    // The service's reference went with the host; this is the last one.
    a.onEvent = [&] { raw->Release(); };
    raw->Fire(7, 0, 0, 0);
    EXPECT_EQ(2u, log.size());
}
}  // namespace
