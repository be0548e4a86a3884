// The fixed slot numbers that the module and the suite's components agree on.
// A pointer to a virtual member holds 1 + the byte offset of its table entry
// (Itanium ABI, which MinGW's g++ uses), so the slot a call goes through can be
// read without implementing the interfaces.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

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

}  // namespace
