#pragma once
// The settings service (the signed-in account document) and the meeting
// component (the meetings running in this session).
#include "service/SuiteStateObject.h"

// A suite-state object that also answers for its own interface.
template <typename Interface, const IID& EventIid, DISPID ChangeDispatchId>
class CSuiteStateObjectOf : public CSuiteStateObject, public Interface {
public:
    CSuiteStateObjectOf() : CSuiteStateObject(EventIid, ChangeDispatchId) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return CSuiteStateObject::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return CSuiteStateObject::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return CSuiteStateObject::Release(); }

    HRESULT STDMETHODCALLTYPE Reserved3() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved4() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved5() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved6() override { return E_NOTIMPL; }

private:
    void* OwnInterface(REFIID iid) override {
        return iid == __uuidof(Interface) ? static_cast<Interface*>(this) : nullptr;
    }
};

class CSettingsService final
    : public CSuiteStateObjectOf<IQKSettingsService, DIID_QKAccountEvents, DISPID_QKAccountChanged> {
public:
    HRESULT STDMETHODCALLTYPE Reserved7() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAccountDocument(BSTR* accountXml) override;

private:
    const CLSID& ClassId() const noexcept override { return CLSID_QKSettingsService; }
};

class CMeetingComponent final
    : public CSuiteStateObjectOf<IQKMeetingComponent, DIID_QKMeetingEvents, DISPID_QKMeetingsChanged> {
public:
    HRESULT STDMETHODCALLTYPE GetRunningMeetings(BSTR* meetingsXml) override;

private:
    const CLSID& ClassId() const noexcept override { return CLSID_QKMeetingComponent; }
};
