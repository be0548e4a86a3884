#include "service/SettingsService.h"

#include "service/SuiteStateStore.h"

namespace {
HRESULT HandOut(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}
}  // namespace

HRESULT STDMETHODCALLTYPE CSettingsService::GetAccountDocument(BSTR* accountXml) {
    if (Failing()) {
        if (accountXml) *accountXml = nullptr;
        return E_FAIL;
    }
    try {
        return HandOut(SuiteStateStore::LoadAccount(), accountXml);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE CMeetingComponent::GetRunningMeetings(BSTR* meetingsXml) {
    if (Failing()) {
        if (meetingsXml) *meetingsXml = nullptr;
        return E_FAIL;
    }
    try {
        return HandOut(SuiteStateStore::LoadRunningMeetings(), meetingsXml);
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}
