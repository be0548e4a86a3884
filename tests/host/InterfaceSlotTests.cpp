// The fixed slot numbers that the module and the suite's components agree on.
// A pointer to a virtual member holds 1 + the byte offset of its table entry
// (Itanium ABI, which MinGW's g++ uses), so the slot a call goes through can be
// read without implementing the interfaces.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "BoshClient.h"
#include "QkMeetingLibs.h"
#include "QkServiceInterfaces.h"
#include "VelEvents.h"
#include "VelModuleHost.h"
#include "VelUIModule.h"

namespace {
template <typename Method>
int SlotOf(Method method) {
    struct {
        std::uintptr_t ptr;
        std::ptrdiff_t adjust;
    } raw;
    static_assert(sizeof(raw) == sizeof(Method));
    std::memcpy(&raw, &method, sizeof(raw));
    return (raw.ptr & 1) ? static_cast<int>((raw.ptr - 1) / sizeof(void*)) : -1;
}

TEST(InterfaceSlots, EveryOperationSitsInItsAgreedSlot) {
    const struct {
        const char* name;
        int actual, expected;
    } slots[] = {
#define QK_SLOT(method, n) {#method, SlotOf(&method), n}
        QK_SLOT(IVelUIModule::InitModule, 3),
        QK_SLOT(IVelUIModule::IsModuleClosed, 4),
        QK_SLOT(IVelUIModule::GetModuleWindow, 5),
        QK_SLOT(IVelUIModule::ShowModule, 6),
        QK_SLOT(IVelUIModule::UninitModule, 7),
        QK_SLOT(IVelModuleHost::GetCommandLine, 3),
        QK_SLOT(IVelModuleHost::GetParameter, 4),
        QK_SLOT(IVelModuleHost::AddMessageFilter, 7),
        QK_SLOT(IVelModuleHost::RemoveMessageFilter, 8),
        QK_SLOT(IVelModuleHost::AddIdleHandler, 9),
        QK_SLOT(IVelModuleHost::RemoveIdleHandler, 10),
        QK_SLOT(IVelModuleHost::CloseHost, 12),
        QK_SLOT(IVelEventService::GetEventBus, 11),
        QK_SLOT(IVelEventBus::Subscribe, 3),
        QK_SLOT(IVelEventBus::Unsubscribe, 4),
        QK_SLOT(IVelEventBus::Fire, 5),
        QK_SLOT(IQKMeetingOperations::StartInstantMeeting, 3),
        QK_SLOT(IQKMeetingOperations::JoinMeeting, 4),
        QK_SLOT(IQKMeetingOperations::StartScheduledMeeting, 5),
        QK_SLOT(IQKMeetingOperations::StartPersonalConference, 6),
        QK_SLOT(IQKMeetingOperations::GetResult, 12),
        QK_SLOT(IQKMeetingPages::ScheduleMeeting, 8),
        QK_SLOT(IQKMeetingPages::EditMeeting, 9),
        QK_SLOT(IQKMeetingPages::OpenAddress, 10),
        QK_SLOT(IQKMeetingPages::GoToMeetingSite, 13),
        QK_SLOT(IQKMeetingPages::ShowHelp, 18),
        QK_SLOT(IQKMeetingPages::ShowAboutBox, 19),
        QK_SLOT(IQKMeetingPages::ConnectToMyComputer, 22),
        QK_SLOT(IQKMeetingPages::IsLibraryCurrent, 23),
        QK_SLOT(IQKWebApiSync::StartSync, 6),
        QK_SLOT(IQKWebApiSync::GetSyncStatus, 7),
        QK_SLOT(IQKWebApiSync::QueryMeetings, 8),
        QK_SLOT(IQKSettingsService::GetAccountDocument, 8),
        QK_SLOT(IQKMeetingComponent::GetRunningMeetings, 7),
        QK_SLOT(bosh::IBOSHClient::SetSink, 1),
        QK_SLOT(bosh::IBOSHClient::Configure, 2),
        QK_SLOT(bosh::IBOSHClient::Login, 3),
        QK_SLOT(bosh::IBOSHClient::SendChatMessage, 5),
        QK_SLOT(bosh::IBOSHClient::LogOff, 6),
        QK_SLOT(bosh::IBOSHClientSink::onLogin, 0),
        QK_SLOT(bosh::IBOSHClientSink::onEvent, 1),
        QK_SLOT(bosh::IBOSHClientSink::onMessageReceived, 2),
        QK_SLOT(bosh::IBOSHClientSink::onError, 3),
        QK_SLOT(bosh::IBOSHClientSink::onReady, 4),
#undef QK_SLOT
    };
    for (const auto& slot : slots) EXPECT_EQ(slot.expected, slot.actual) << slot.name;
}

// The argument lists the meetings and web-API libraries are built against: a
// slot in the right place with one argument too many shifts every later one.
TEST(InterfaceSlots, LibraryOperationsTakeTheAgreedArguments) {
    using Ops = IQKMeetingOperations;
    using Sync = IQKWebApiSync;
    const struct {
        const char* name;
        bool agreed;
    } operations[] = {
        {"StartInstantMeeting", std::is_same_v<decltype(&Ops::StartInstantMeeting), HRESULT (Ops::*)(HWND, LONG, BSTR, LONG)>},
        {"JoinMeeting", std::is_same_v<decltype(&Ops::JoinMeeting),
                                       HRESULT (Ops::*)(HWND, BSTR, BSTR, BSTR, LONG, BSTR, LONG, BSTR, BSTR)>},
        {"StartScheduledMeeting", std::is_same_v<decltype(&Ops::StartScheduledMeeting),
                                                 HRESULT (Ops::*)(HWND, BSTR, BSTR, LONG, BSTR, LONG, BSTR, BSTR)>},
        {"StartPersonalConference", std::is_same_v<decltype(&Ops::StartPersonalConference), HRESULT (Ops::*)(HWND)>},
        {"GetResult", std::is_same_v<decltype(&Ops::GetResult), HRESULT (Ops::*)(LONG*, BSTR*, LONG)>},
        {"StartSync", std::is_same_v<decltype(&Sync::StartSync), HRESULT (Sync::*)(DATE, DATE, HWND)>},
        {"GetSyncStatus", std::is_same_v<decltype(&Sync::GetSyncStatus), HRESULT (Sync::*)(LONG*)>},
        {"QueryMeetings", std::is_same_v<decltype(&Sync::QueryMeetings), HRESULT (Sync::*)(LONG, DATE, DATE, BSTR*)>},
    };
    for (const auto& operation : operations) EXPECT_TRUE(operation.agreed) << operation.name;
}

// Every identifier the suite agrees on, in full: a slip in any byte means the
// module and another build of the component never find each other.
TEST(InterfaceSlots, IdentifiersAreTheSuitesOwn) {
    const struct {
        const char* name;
        GUID id;
        const wchar_t* text;
    } ids[] = {
        {"IVelUIModule", __uuidof(IVelUIModule), L"{952C1400-49E6-445D-8FDF-493E3C9576C1}"},
        {"IVelEventService", __uuidof(IVelEventService), L"{23A87C4D-86FF-4C2B-8F33-1DA5BE380303}"},
        {"IQKMeetingOperations", __uuidof(IQKMeetingOperations), L"{F1A920A3-AD57-4B9D-87D2-F27F034B9274}"},
        {"IQKMeetingPages", __uuidof(IQKMeetingPages), L"{5F42AE0F-E9FB-43FC-A941-8BBDD834A75D}"},
        {"IQKWebApiSync", __uuidof(IQKWebApiSync), L"{0786CF96-C43C-498A-9909-D1FAB3B45B20}"},
        {"IQKSettingsService", __uuidof(IQKSettingsService), L"{E9AA675A-1DEB-4DDE-B2FF-6890129054F8}"},
        {"IQKMeetingComponent", __uuidof(IQKMeetingComponent), L"{FC653998-9F85-4FF1-9898-E93780C41612}"},
        {"DIID_QKAccountEvents", DIID_QKAccountEvents, L"{071B8A7E-E4A1-4CB2-A726-39D3E0AA5B21}"},
        {"DIID_QKMeetingEvents", DIID_QKMeetingEvents, L"{38119B5D-508D-4AED-8E7C-267F181A4B8D}"},
        {"CLSID_QKMeetingOperations", CLSID_QKMeetingOperations, L"{68F4FC5C-0469-4433-B278-1DE38F978924}"},
        {"CLSID_QKMeetingPages", CLSID_QKMeetingPages, L"{0FE344D4-7005-44A7-86D4-ED261E977748}"},
        {"CLSID_QKWebApiSync", CLSID_QKWebApiSync, L"{82DBF6EE-F71A-4123-BB41-CC939EDCC948}"},
        {"CLSID_QKSettingsService", CLSID_QKSettingsService, L"{A12A21B3-CFDA-497E-98C0-CE60D4D108C8}"},
        {"CLSID_QKMeetingComponent", CLSID_QKMeetingComponent, L"{8C5A23F1-A4F2-47F0-8E95-CF33FDDFF1AA}"},
        {"CLSID_QKLoginModule", CLSID_QKLoginModule, L"{0A71105A-90CA-4304-913B-13B9A4529379}"},
        {"CLSID_QKSettingModule", CLSID_QKSettingModule, L"{06C76266-E780-49E2-88D8-62C4FA83A206}"},
    };
    for (const auto& entry : ids) {
        wchar_t text[39] = {};
        ASSERT_EQ(39, StringFromGUID2(entry.id, text, 39)) << entry.name;
        EXPECT_STREQ(entry.text, text) << entry.name;
    }
}
}  // namespace
