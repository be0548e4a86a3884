// The fixed slot numbers that the module and the suite's components agree on.
// Each call goes through the raw table entry of the slot number the suite
// documents, and must reach the operation of that name.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "QkMeetingLibs.h"
#include "VelEvents.h"
#include "VelModuleHost.h"
#include "VelUIModule.h"

using ::testing::Return;

namespace {
template <typename R, typename... Args>
R CallSlot(void* object, int slot, Args... args) {
    using Fn = R(STDMETHODCALLTYPE*)(void*, Args...);
    return reinterpret_cast<Fn>((*static_cast<void***>(object))[slot])(object, args...);
}

#define QK_MOCK_IUNKNOWN()                                                           \
    MOCK_METHOD(HRESULT, QueryInterface, (REFIID, void**), (override));              \
    MOCK_METHOD(ULONG, AddRef, (), (override));                                      \
    MOCK_METHOD(ULONG, Release, (), (override))
#define QK_MOCK_PLACEHOLDER(n) MOCK_METHOD(HRESULT, Reserved##n, (), (override))

struct MockModule : IVelUIModule {
    QK_MOCK_IUNKNOWN();
    MOCK_METHOD(HRESULT, InitModule, (IVelModuleHost*, HWND), (override));
    MOCK_METHOD(BOOL, IsModuleClosed, (), (override));
    MOCK_METHOD(HWND, GetModuleWindow, (), (override));
    MOCK_METHOD(HRESULT, ShowModule, (BOOL), (override));
    MOCK_METHOD(HRESULT, UninitModule, (), (override));
};

struct MockHost : IVelModuleHost {
    QK_MOCK_IUNKNOWN();
    MOCK_METHOD(HRESULT, GetCommandLine, (BSTR*), (override));
    MOCK_METHOD(HRESULT, GetParameter, (BSTR, BSTR*), (override));
    QK_MOCK_PLACEHOLDER(5);
    QK_MOCK_PLACEHOLDER(6);
    MOCK_METHOD(HRESULT, AddMessageFilter, (CMessageFilter*), (override));
    MOCK_METHOD(HRESULT, RemoveMessageFilter, (CMessageFilter*), (override));
    MOCK_METHOD(HRESULT, AddIdleHandler, (CIdleHandler*), (override));
    MOCK_METHOD(HRESULT, RemoveIdleHandler, (CIdleHandler*), (override));
    QK_MOCK_PLACEHOLDER(11);
    MOCK_METHOD(HRESULT, CloseHost, (LONG), (override));
};

struct MockEventService : IVelEventService {
    QK_MOCK_IUNKNOWN();
    QK_MOCK_PLACEHOLDER(3);
    QK_MOCK_PLACEHOLDER(4);
    QK_MOCK_PLACEHOLDER(5);
    QK_MOCK_PLACEHOLDER(6);
    QK_MOCK_PLACEHOLDER(7);
    QK_MOCK_PLACEHOLDER(8);
    QK_MOCK_PLACEHOLDER(9);
    QK_MOCK_PLACEHOLDER(10);
    MOCK_METHOD(HRESULT, GetEventBus, (IVelEventBus**), (override));
};

struct MockBus : IVelEventBus {
    QK_MOCK_IUNKNOWN();
    MOCK_METHOD(HRESULT, Subscribe, (UINT, CVelEventListener*), (override));
    MOCK_METHOD(HRESULT, Unsubscribe, (UINT, CVelEventListener*), (override));
    MOCK_METHOD(HRESULT, Fire, (UINT, INT_PTR, INT_PTR, INT_PTR), (override));
};

struct MockOperations : IQKMeetingOperations {
    QK_MOCK_IUNKNOWN();
    MOCK_METHOD(HRESULT, StartInstantMeeting, (HWND, LONG, BSTR, LONG), (override));
    MOCK_METHOD(HRESULT, JoinMeeting, (HWND, BSTR, BSTR, BSTR, LONG, BSTR, LONG, BSTR, BSTR), (override));
    MOCK_METHOD(HRESULT, StartScheduledMeeting, (HWND, BSTR, BSTR, LONG, BSTR, LONG, BSTR, BSTR), (override));
    MOCK_METHOD(HRESULT, StartPersonalConference, (HWND), (override));
    QK_MOCK_PLACEHOLDER(7);
    QK_MOCK_PLACEHOLDER(8);
    QK_MOCK_PLACEHOLDER(9);
    QK_MOCK_PLACEHOLDER(10);
    QK_MOCK_PLACEHOLDER(11);
    MOCK_METHOD(HRESULT, GetResult, (HWND, LONG*, BSTR*, LONG), (override));
};

struct MockPages : IQKMeetingPages {
    QK_MOCK_IUNKNOWN();
    QK_MOCK_PLACEHOLDER(3);
    QK_MOCK_PLACEHOLDER(4);
    QK_MOCK_PLACEHOLDER(5);
    QK_MOCK_PLACEHOLDER(6);
    QK_MOCK_PLACEHOLDER(7);
    MOCK_METHOD(HRESULT, ScheduleMeeting, (HWND), (override));
    MOCK_METHOD(HRESULT, EditMeeting, (BSTR), (override));
    MOCK_METHOD(HRESULT, OpenAddress, (HWND, BSTR), (override));
    QK_MOCK_PLACEHOLDER(11);
    QK_MOCK_PLACEHOLDER(12);
    MOCK_METHOD(HRESULT, GoToMeetingSite, (), (override));
    QK_MOCK_PLACEHOLDER(14);
    QK_MOCK_PLACEHOLDER(15);
    QK_MOCK_PLACEHOLDER(16);
    QK_MOCK_PLACEHOLDER(17);
    MOCK_METHOD(HRESULT, ShowHelp, (LONG), (override));
    MOCK_METHOD(HRESULT, ShowAboutBox, (HWND), (override));
    QK_MOCK_PLACEHOLDER(20);
    QK_MOCK_PLACEHOLDER(21);
    MOCK_METHOD(HRESULT, ConnectToMyComputer, (HWND), (override));
    MOCK_METHOD(HRESULT, IsLibraryCurrent, (), (override));
};

struct MockWebApi : IQKWebApiSync {
    QK_MOCK_IUNKNOWN();
    QK_MOCK_PLACEHOLDER(3);
    QK_MOCK_PLACEHOLDER(4);
    QK_MOCK_PLACEHOLDER(5);
    MOCK_METHOD(HRESULT, StartSync, (DATE, DATE, HWND), (override));
    MOCK_METHOD(HRESULT, GetSyncStatus, (LONG*), (override));
    MOCK_METHOD(HRESULT, QueryMeetings, (LONG, DATE, DATE, BSTR*), (override));
};

TEST(InterfaceSlots, ModuleInterface) {
    MockModule m;
    EXPECT_CALL(m, InitModule(nullptr, nullptr)).WillOnce(Return(3));
    EXPECT_CALL(m, IsModuleClosed()).WillOnce(Return(4));
    EXPECT_CALL(m, GetModuleWindow()).WillOnce(Return(reinterpret_cast<HWND>(5)));
    EXPECT_CALL(m, ShowModule(1)).WillOnce(Return(6));
    EXPECT_CALL(m, UninitModule()).WillOnce(Return(7));
    EXPECT_EQ(3, (CallSlot<HRESULT, IVelModuleHost*, HWND>(&m, 3, nullptr, nullptr)));
    EXPECT_EQ(4, (CallSlot<BOOL>(&m, 4)));
    EXPECT_EQ(reinterpret_cast<HWND>(5), (CallSlot<HWND>(&m, 5)));
    EXPECT_EQ(6, (CallSlot<HRESULT, BOOL>(&m, 6, 1)));
    EXPECT_EQ(7, (CallSlot<HRESULT>(&m, 7)));
}

TEST(InterfaceSlots, HostAndEventService) {
    MockHost h;
    EXPECT_CALL(h, GetCommandLine(nullptr)).WillOnce(Return(3));
    EXPECT_CALL(h, GetParameter(nullptr, nullptr)).WillOnce(Return(4));
    EXPECT_CALL(h, AddMessageFilter(nullptr)).WillOnce(Return(7));
    EXPECT_CALL(h, RemoveMessageFilter(nullptr)).WillOnce(Return(8));
    EXPECT_CALL(h, AddIdleHandler(nullptr)).WillOnce(Return(9));
    EXPECT_CALL(h, RemoveIdleHandler(nullptr)).WillOnce(Return(10));
    EXPECT_CALL(h, CloseHost(404)).WillOnce(Return(12));
    EXPECT_EQ(3, (CallSlot<HRESULT, BSTR*>(&h, 3, nullptr)));
    EXPECT_EQ(4, (CallSlot<HRESULT, BSTR, BSTR*>(&h, 4, nullptr, nullptr)));
    for (int slot = 7; slot <= 10; ++slot) EXPECT_EQ(slot, (CallSlot<HRESULT, void*>(&h, slot, nullptr)));
    EXPECT_EQ(12, (CallSlot<HRESULT, LONG>(&h, 12, 404)));

    MockEventService s;
    EXPECT_CALL(s, GetEventBus(nullptr)).WillOnce(Return(11));
    EXPECT_EQ(11, (CallSlot<HRESULT, IVelEventBus**>(&s, 11, nullptr)));

    MockBus b;
    EXPECT_CALL(b, Subscribe(25, nullptr)).WillOnce(Return(3));
    EXPECT_CALL(b, Unsubscribe(25, nullptr)).WillOnce(Return(4));
    EXPECT_CALL(b, Fire(25, 1, 2, 3)).WillOnce(Return(5));
    EXPECT_EQ(3, (CallSlot<HRESULT, UINT, void*>(&b, 3, 25u, nullptr)));
    EXPECT_EQ(4, (CallSlot<HRESULT, UINT, void*>(&b, 4, 25u, nullptr)));
    EXPECT_EQ(5, (CallSlot<HRESULT, UINT, INT_PTR, INT_PTR, INT_PTR>(&b, 5, 25u, 1, 2, 3)));
}

TEST(InterfaceSlots, MeetingLibraries) {
    MockOperations o;
    EXPECT_CALL(o, StartInstantMeeting(nullptr, 2, nullptr, 0)).WillOnce(Return(3));
    EXPECT_CALL(o, JoinMeeting).WillOnce(Return(4));
    EXPECT_CALL(o, StartScheduledMeeting).WillOnce(Return(5));
    EXPECT_CALL(o, StartPersonalConference(nullptr)).WillOnce(Return(6));
    EXPECT_CALL(o, GetResult(nullptr, nullptr, nullptr, 1)).WillOnce(Return(12));
    EXPECT_EQ(3, (CallSlot<HRESULT, HWND, LONG, BSTR, LONG>(&o, 3, nullptr, 2, nullptr, 0)));
    EXPECT_EQ(4, (CallSlot<HRESULT, HWND, BSTR, BSTR, BSTR, LONG, BSTR, LONG, BSTR, BSTR>(
                     &o, 4, nullptr, nullptr, nullptr, nullptr, 0, nullptr, 13, nullptr, nullptr)));
    EXPECT_EQ(5, (CallSlot<HRESULT, HWND, BSTR, BSTR, LONG, BSTR, LONG, BSTR, BSTR>(
                     &o, 5, nullptr, nullptr, nullptr, 0, nullptr, 13, nullptr, nullptr)));
    EXPECT_EQ(6, (CallSlot<HRESULT, HWND>(&o, 6, nullptr)));
    EXPECT_EQ(12, (CallSlot<HRESULT, HWND, LONG*, BSTR*, LONG>(&o, 12, nullptr, nullptr, nullptr, 1)));

    MockPages p;
    EXPECT_CALL(p, ScheduleMeeting(nullptr)).WillOnce(Return(8));
    EXPECT_CALL(p, EditMeeting(nullptr)).WillOnce(Return(9));
    EXPECT_CALL(p, OpenAddress(nullptr, nullptr)).WillOnce(Return(10));
    EXPECT_CALL(p, GoToMeetingSite()).WillOnce(Return(13));
    EXPECT_CALL(p, ShowHelp(5)).WillOnce(Return(18));
    EXPECT_CALL(p, ShowAboutBox(nullptr)).WillOnce(Return(19));
    EXPECT_CALL(p, ConnectToMyComputer(nullptr)).WillOnce(Return(22));
    EXPECT_CALL(p, IsLibraryCurrent()).WillOnce(Return(23));
    EXPECT_EQ(8, (CallSlot<HRESULT, HWND>(&p, 8, nullptr)));
    EXPECT_EQ(9, (CallSlot<HRESULT, BSTR>(&p, 9, nullptr)));
    EXPECT_EQ(10, (CallSlot<HRESULT, HWND, BSTR>(&p, 10, nullptr, nullptr)));
    EXPECT_EQ(13, (CallSlot<HRESULT>(&p, 13)));
    EXPECT_EQ(18, (CallSlot<HRESULT, LONG>(&p, 18, 5)));
    EXPECT_EQ(19, (CallSlot<HRESULT, HWND>(&p, 19, nullptr)));
    EXPECT_EQ(22, (CallSlot<HRESULT, HWND>(&p, 22, nullptr)));
    EXPECT_EQ(23, (CallSlot<HRESULT>(&p, 23)));

    MockWebApi w;
    EXPECT_CALL(w, StartSync(1.0, 2.0, nullptr)).WillOnce(Return(6));
    EXPECT_CALL(w, GetSyncStatus(nullptr)).WillOnce(Return(7));
    EXPECT_CALL(w, QueryMeetings(2, 1.0, 2.0, nullptr)).WillOnce(Return(8));
    EXPECT_EQ(6, (CallSlot<HRESULT, DATE, DATE, HWND>(&w, 6, 1.0, 2.0, nullptr)));
    EXPECT_EQ(7, (CallSlot<HRESULT, LONG*>(&w, 7, nullptr)));
    EXPECT_EQ(8, (CallSlot<HRESULT, LONG, DATE, DATE, BSTR*>(&w, 8, 2, 1.0, 2.0, nullptr)));
}

TEST(InterfaceSlots, IdentifiersAreTheSuitesOwn) {
    EXPECT_EQ(0x952C1400u, __uuidof(IVelUIModule).Data1);
    EXPECT_EQ(0x23A87C4Du, __uuidof(IVelEventService).Data1);
    EXPECT_EQ(0xF1A920A3u, __uuidof(IQKMeetingOperations).Data1);
    EXPECT_EQ(0x5F42AE0Fu, __uuidof(IQKMeetingPages).Data1);
    EXPECT_EQ(0x0786CF96u, __uuidof(IQKWebApiSync).Data1);
    EXPECT_EQ(0x68F4FC5Cu, CLSID_QKMeetingOperations.Data1);
    EXPECT_EQ(0x0FE344D4u, CLSID_QKMeetingPages.Data1);
    EXPECT_EQ(0x82DBF6EEu, CLSID_QKWebApiSync.Data1);
}
}  // namespace
