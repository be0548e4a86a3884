#include "service/SuiteStateObject.h"

#include "shared/SuiteFault.h"

#include <algorithm>
#include <vector>

#include "RefCounting.h"
#include "service/MessagingAccount.h"
#include "service/SuiteStateStore.h"

namespace {
// The live objects of this process. The classes are apartment-threaded: every
// object lives on the thread that created it, so the list needs no lock.
std::vector<CSuiteStateObject*>& LiveObjects() {
    static std::vector<CSuiteStateObject*> objects;
    return objects;
}
}  // namespace

CSuiteStateObject::CSuiteStateObject(const IID& eventIid, DISPID changeDispatchId)
    : m_point(static_cast<IConnectionPointContainer*>(this), eventIid), m_changeDispatchId(changeDispatchId) {
    LiveObjects().push_back(this);
}

CSuiteStateObject::~CSuiteStateObject() {
    auto& objects = LiveObjects();
    objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
    m_point.Clear();
}

HRESULT STDMETHODCALLTYPE CSuiteStateObject::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == __uuidof(IQKSuiteState)) {
        *object = static_cast<IQKSuiteState*>(this);
    } else if (iid == IID_IConnectionPointContainer) {
        *object = static_cast<IConnectionPointContainer*>(this);
    } else if (void* own = OwnInterface(iid)) {
        *object = own;
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

QK_IMPLEMENT_SELF_DELETING_REFCOUNT(CSuiteStateObject)

bool CSuiteStateObject::Failing() const noexcept { return SuiteFault::FailsEveryCall(ClassId()); }

HRESULT STDMETHODCALLTYPE CSuiteStateObject::SetAccountDocument(BSTR accountXml) {
    if (Failing()) return E_FAIL;
    try {
        if (!SuiteStateStore::IsWellFormed(accountXml)) return E_INVALIDARG;
        if (!SuiteStateStore::SaveAccount(accountXml)) return E_FAIL;
        Broadcast(DIID_QKAccountEvents, accountXml);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CSuiteStateObject::ResetAccountDocument() {
    if (Failing()) return E_FAIL;
    try {
        if (!SuiteStateStore::ResetAccount()) return E_FAIL;
        Broadcast(DIID_QKAccountEvents, SuiteStateStore::LoadAccount());
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CSuiteStateObject::SetRunningMeetings(BSTR meetingsXml) {
    if (Failing()) return E_FAIL;
    try {
        if (!SuiteStateStore::IsWellFormed(meetingsXml)) return E_INVALIDARG;
        if (!SuiteStateStore::SaveRunningMeetings(meetingsXml)) return E_FAIL;
        Broadcast(DIID_QKMeetingEvents, meetingsXml);
        return S_OK;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

HRESULT STDMETHODCALLTYPE CSuiteStateObject::GetMessagingAccount(BSTR* accountXml) {
    if (Failing()) {
        if (accountXml) *accountXml = nullptr;
        return E_FAIL;
    }
    try {
        if (!accountXml) return E_POINTER;
        const MessagingAccount::Document document = MessagingAccount::Load();
        *accountXml = ::SysAllocStringLen(document.xml.data(), static_cast<UINT>(document.xml.size()));
        if (!*accountXml) return E_OUTOFMEMORY;
        return document.hasAccount ? S_OK : S_FALSE;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE CSuiteStateObject::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CSuiteStateObject::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (Failing()) return E_FAIL;
    if (iid != m_point.EventIid()) return CONNECT_E_NOCONNECTION;
    *point = &m_point;
    m_point.AddRef();
    return S_OK;
}

void CSuiteStateObject::Broadcast(const IID& eventIid, const std::wstring& text) {
    // Each object is held while its sinks run: a sink may release the last
    // outside reference of its own source, or create new objects.
    std::vector<Microsoft::WRL::ComPtr<IQKSuiteState>> targets;
    for (CSuiteStateObject* object : LiveObjects()) {
        if (object->m_point.EventIid() == eventIid) targets.emplace_back(static_cast<IQKSuiteState*>(object));
    }
    for (auto& target : targets) {
        auto* object = static_cast<CSuiteStateObject*>(target.Get());
        object->m_point.FireText(object->m_changeDispatchId, text.c_str());
    }
}
