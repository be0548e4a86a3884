#pragma once
// Base of the settings service and the meeting component: reference counting,
// one connection point, and the control interface through which any suite
// component changes the account or the running meetings. A change made through
// any object of the process is fired to the sinks of every object.
#include <ocidl.h>

#include <string>

#include "QkServiceInterfaces.h"
#include "service/ConnectionPoint.h"
#include "shared/ComServer.h"

class CSuiteStateObject : public CServerObject, public IQKSuiteState, public IConnectionPointContainer {
public:
    // IUnknown, answered for the derived object's own interface too.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IQKSuiteState
    HRESULT STDMETHODCALLTYPE SetAccountDocument(BSTR accountXml) override;
    HRESULT STDMETHODCALLTYPE ResetAccountDocument() override;
    HRESULT STDMETHODCALLTYPE SetRunningMeetings(BSTR meetingsXml) override;
    HRESULT STDMETHODCALLTYPE GetMessagingAccount(BSTR* accountXml) override;

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

protected:
    CSuiteStateObject(const IID& eventIid, DISPID changeDispatchId);
    ~CSuiteStateObject() override;
    // The derived object's own interface, or null.
    virtual void* OwnInterface(REFIID iid) = 0;
    // The class the object is served as; its fault switch makes every call fail.
    [[nodiscard]] virtual const CLSID& ClassId() const noexcept = 0;
    [[nodiscard]] bool Failing() const noexcept;

private:
    // Fires `text` to the sinks of every live object whose events are `eventIid`.
    static void Broadcast(const IID& eventIid, const std::wstring& text);

    volatile LONG m_refCount = 1;
    CConnectionPoint m_point;
    DISPID m_changeDispatchId;
};
