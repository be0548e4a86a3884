#pragma once
// The suite's settings service registered as the real in-process server while
// this object lives, holding the account a test chooses; the module's account
// settings read it through their own start-up. Test programs that use it build
// and lock the service (suite_service_store, suite_service_registration) and
// link the meetings library.
#include <windows.h>

#include <string>

#include "support/ModuleLibrary.h"

namespace testsupport {
class SettingsServiceAccount {
public:
    // `folder` holds qkService.dll (with a trailing backslash).
    explicit SettingsServiceAccount(const std::wstring& folder);
    ~SettingsServiceAccount();
    SettingsServiceAccount(const SettingsServiceAccount&) = delete;
    SettingsServiceAccount& operator=(const SettingsServiceAccount&) = delete;

    [[nodiscard]] bool Registered() const noexcept { return m_service.registration == S_OK; }
    // Stores `accountXml` in the service and starts the account settings afresh from it.
    bool Use(const std::wstring& accountXml);

private:
    RegisteredService m_service;
};
}  // namespace testsupport
