#pragma once
// The settings service: the signed-in account document.
#include "service/SuiteStateObject.h"

class CSettingsService final : public CSuiteStateObject, public IQKSettingsService {
public:
    CSettingsService() : CSuiteStateObject(DIID_QKAccountEvents, DISPID_QKAccountChanged) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return CSuiteStateObject::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return CSuiteStateObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return CSuiteStateObject::Release(); }

    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAccountDocument(BSTR* accountXml) override;

private:
    void* OwnInterface(REFIID iid) override {
        return iid == __uuidof(IQKSettingsService) ? static_cast<IQKSettingsService*>(this) : nullptr;
    }
};

// The meeting component: the meetings running in this session.
class CMeetingComponent final : public CSuiteStateObject, public IQKMeetingComponent {
public:
    CMeetingComponent() : CSuiteStateObject(DIID_QKMeetingEvents, DISPID_QKMeetingsChanged) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return CSuiteStateObject::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return CSuiteStateObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return CSuiteStateObject::Release(); }

    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRunningMeetings(BSTR* meetingsXml) override;

private:
    void* OwnInterface(REFIID iid) override {
        return iid == __uuidof(IQKMeetingComponent) ? static_cast<IQKMeetingComponent*>(this) : nullptr;
    }
};
