#include "support/SettingsServiceAccount.h"

#include <wrl/client.h>

#include "ComHolders.h"
#include "QkServiceInterfaces.h"
#include "SJUISetting.h"

namespace testsupport {
namespace {
const wchar_t kStoreKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Service";
using RegistrationFn = HRESULT(STDAPICALLTYPE*)();

HRESULT CallExport(HMODULE library, const char* name) {
    const auto entry = reinterpret_cast<RegistrationFn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
    return entry ? entry() : E_FAIL;
}
}  // namespace

SettingsServiceAccount::SettingsServiceAccount(const std::wstring& folder)
    : m_library(::LoadLibraryExW((folder + L"qkService.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    m_registered = m_library && SUCCEEDED(CallExport(m_library.get(), "DllRegisterServer"));
}

SettingsServiceAccount::~SettingsServiceAccount() {
    CSJUISetting::ReleaseInstance();
    if (m_library) CallExport(m_library.get(), "DllUnregisterServer");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
}

bool SettingsServiceAccount::Use(const std::wstring& accountXml) {
    Microsoft::WRL::ComPtr<IQKSuiteState> state;
    if (FAILED(::CoCreateInstance(CLSID_QKSettingsService, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&state))) ||
        FAILED(state->SetAccountDocument(Bstr(accountXml).get())))
        return false;
    CSJUISetting::ReleaseInstance();
    return CSJUISetting::GetInstance()->Initialize() != FALSE;
}
}  // namespace testsupport
