#include "webapi/WebApiSettings.h"

#include "Registry.h"
#include "StringEx.h"

namespace WebApiSettings {
Settings Read() {
    Settings settings;
    CStringEx store;
    if (CRegistry::ReadStringEx(HKEY_CURRENT_USER, kKey, kMeetingStoreValue, &store)) settings.meetingStore = store.str();
    DWORD value = 0;
    if (CRegistry::ReadDword(HKEY_CURRENT_USER, kKey, kSyncStatusValue, &value))
        settings.finalStatus = static_cast<LONG>(value);
    if (CRegistry::ReadDword(HKEY_CURRENT_USER, kKey, kSyncMillisecondsValue, &value)) settings.runMilliseconds = value;
    return settings;
}
}  // namespace WebApiSettings
