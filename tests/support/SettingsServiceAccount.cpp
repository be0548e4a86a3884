#include "support/SettingsServiceAccount.h"

#include <wrl/client.h>

#include "ComHolders.h"
#include "QkServiceInterfaces.h"
#include "SJUISetting.h"

namespace testsupport {
SettingsServiceAccount::SettingsServiceAccount(const std::wstring& folder) : m_service(folder) {}

// The account settings let go of the service before it is unregistered.
SettingsServiceAccount::~SettingsServiceAccount() { CSJUISetting::ReleaseInstance(); }

bool SettingsServiceAccount::Use(const std::wstring& accountXml) {
    Microsoft::WRL::ComPtr<IQKSuiteState> state;
    if (FAILED(::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state))) ||
        FAILED(state->SetAccountDocument(Bstr(accountXml).get())))
        return false;
    CSJUISetting::ReleaseInstance();
    return CSJUISetting::GetInstance()->Initialize() != FALSE;
}
}  // namespace testsupport
