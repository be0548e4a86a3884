// The suite's settings service and meeting component, loaded from their DLL.
#include <windows.h>
#include <olectl.h>
#include <wrl/client.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QkServiceInterfaces.h"
#include "ComHolders.h"
#include "support/ModuleLibrary.h"
#include "support/TestSupport.h"

using Microsoft::WRL::ComPtr;

namespace {
const wchar_t kStoreKey[] = L"SOFTWARE\\Zorvan\\Quillkit\\Service";
const wchar_t kAccount[] = L"<QuillkitSettings><Account><SiteName>acme.example.com</SiteName></Account></QuillkitSettings>";

// A reference-counted event sink that records what reaches it.
class RecordingSink : public IDispatch {
public:
    explicit RecordingSink(const IID& eventIid) : m_eventIid(eventIid) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_eventIid) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }  // owned by the test
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        std::wstring text = L"<no argument>";
        if (parameters && parameters->cArgs == 1 && parameters->rgvarg[0].vt == VT_BSTR)
            text = parameters->rgvarg[0].bstrVal ? parameters->rgvarg[0].bstrVal : L"<null>";
        events.push_back({id, text});
        if (onEvent) onEvent();
        return S_OK;
    }

    struct Event {
        DISPID id;
        std::wstring text;
    };
    std::vector<Event> events;
    std::function<void()> onEvent;
    ULONG refs = 0;

private:
    IID m_eventIid;
};

class Service : public ::testing::Test {
protected:
    ModuleLibrary library{testsupport::BinFolder() + L"qkService.dll"};

    void SetUp() override {
        ASSERT_TRUE(library.Loaded());
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey);
    }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey); }

    ComPtr<IConnectionPoint> PointOf(IUnknown* source, const IID& eventIid) {
        ComPtr<IConnectionPointContainer> container;
        ComPtr<IConnectionPoint> point;
        if (SUCCEEDED(source->QueryInterface(IID_PPV_ARGS(&container)))) container->FindConnectionPoint(eventIid, &point);
        return point;
    }
};

std::wstring AccountOf(IQKSettingsService* service) {
    Bstr text;
    service->GetAccountDocument(text.receive());
    return text.str();
}

TEST_F(Service, AnswersTheDemoAccountUntilOneIsStored) {
    ComPtr<IQKSettingsService> service = library.Create<IQKSettingsService>(CLSID_QKSettingsService);
    ASSERT_TRUE(service);
    const std::wstring demo = AccountOf(service.Get());
    EXPECT_NE(std::wstring::npos, demo.find(L"<SiteName>"));

    ComPtr<IQKSuiteState> state;
    ASSERT_EQ(S_OK, service.As(&state));
    EXPECT_EQ(S_OK, state->SetAccountDocument(Bstr(kAccount).get()));
    EXPECT_EQ(kAccount, AccountOf(service.Get()));

    // A fresh object, as after a restart, reads the stored account.
    service.Reset();
    state.Reset();
    ComPtr<IQKSettingsService> restarted = library.Create<IQKSettingsService>(CLSID_QKSettingsService);
    EXPECT_EQ(kAccount, AccountOf(restarted.Get()));

    ASSERT_EQ(S_OK, restarted.As(&state));
    EXPECT_EQ(S_OK, state->ResetAccountDocument());
    EXPECT_EQ(demo, AccountOf(restarted.Get())) << "the reset account is the demo one again";
}

TEST_F(Service, BadDocumentsAreRefusedAndChangeNothing) {
    ComPtr<IQKSuiteState> state = library.Create<IQKSuiteState>(CLSID_QKSettingsService);
    ASSERT_EQ(S_OK, state->SetAccountDocument(Bstr(kAccount).get()));
    RecordingSink sink(DIID_QKAccountEvents);
    DWORD cookie = 0;
    ASSERT_EQ(S_OK, PointOf(state.Get(), DIID_QKAccountEvents)->Advise(&sink, &cookie));

    for (const wchar_t* bad : {L"<Account><SiteName>x</Account>", L""}) {
        EXPECT_EQ(E_INVALIDARG, state->SetAccountDocument(Bstr(bad).get())) << bad;
        EXPECT_EQ(E_INVALIDARG, state->SetRunningMeetings(Bstr(bad).get())) << bad;
    }
    EXPECT_EQ(E_INVALIDARG, state->SetAccountDocument(nullptr));
    EXPECT_TRUE(sink.events.empty());
    ComPtr<IQKSettingsService> service;
    ASSERT_EQ(S_OK, state.As(&service));
    EXPECT_EQ(kAccount, AccountOf(service.Get()));
    PointOf(state.Get(), DIID_QKAccountEvents)->Unadvise(cookie);
}

// A change made through one object reaches the sinks of every object of its
// kind; a sink may disconnect itself and a later one during the event.
TEST_F(Service, ChangesReachEverySinkOfTheirKindThatIsStillConnected) {
    ComPtr<IQKSettingsService> first = library.Create<IQKSettingsService>(CLSID_QKSettingsService);
    ComPtr<IQKSettingsService> second = library.Create<IQKSettingsService>(CLSID_QKSettingsService);
    ComPtr<IQKMeetingComponent> meetings = library.Create<IQKMeetingComponent>(CLSID_QKMeetingComponent);
    ComPtr<IConnectionPoint> point = PointOf(first.Get(), DIID_QKAccountEvents);
    RecordingSink self(DIID_QKAccountEvents), other(DIID_QKAccountEvents), b(DIID_QKAccountEvents),
        m(DIID_QKMeetingEvents);
    DWORD cs = 0, co = 0, cb = 0, cm = 0;
    ASSERT_EQ(S_OK, point->Advise(&self, &cs));
    ASSERT_EQ(S_OK, point->Advise(&other, &co));
    ASSERT_EQ(S_OK, PointOf(second.Get(), DIID_QKAccountEvents)->Advise(&b, &cb));
    ASSERT_EQ(S_OK, PointOf(meetings.Get(), DIID_QKMeetingEvents)->Advise(&m, &cm));
    EXPECT_FALSE(PointOf(first.Get(), DIID_QKMeetingEvents));
    self.onEvent = [&] {
        EXPECT_EQ(S_OK, point->Unadvise(cs));
        EXPECT_EQ(S_OK, point->Unadvise(co));
    };

    // The login module changes the account through an object of its own.
    ComPtr<IQKSuiteState> login = library.Create<IQKSuiteState>(CLSID_QKSettingsService);
    ASSERT_EQ(S_OK, login->SetAccountDocument(Bstr(kAccount).get()));
    ASSERT_EQ(1u, self.events.size());
    EXPECT_EQ(DISPID_QKAccountChanged, self.events[0].id);
    EXPECT_EQ(kAccount, self.events[0].text);
    EXPECT_TRUE(other.events.empty());
    EXPECT_EQ(1u, b.events.size());
    EXPECT_TRUE(m.events.empty());
    EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(cs));

    const wchar_t running[] = L"<meetings><meeting><meetingKey>123</meetingKey><userType>*</userType></meeting></meetings>";
    ASSERT_EQ(S_OK, login->SetRunningMeetings(Bstr(running).get()));
    ASSERT_EQ(1u, m.events.size());
    EXPECT_EQ(DISPID_QKMeetingsChanged, m.events[0].id);
    EXPECT_EQ(running, m.events[0].text);
    EXPECT_EQ(1u, b.events.size());
    Bstr stored;
    meetings->GetRunningMeetings(stored.receive());
    EXPECT_EQ(running, stored.str());

    PointOf(second.Get(), DIID_QKAccountEvents)->Unadvise(cb);
    PointOf(meetings.Get(), DIID_QKMeetingEvents)->Unadvise(cm);
    EXPECT_EQ(0u, self.refs + other.refs + b.refs + m.refs);
}

TEST_F(Service, ClientThatNeverDisconnectsLeaksNothing) {
    RecordingSink sink(DIID_QKAccountEvents);
    {
        ComPtr<IQKSettingsService> service = library.Create<IQKSettingsService>(CLSID_QKSettingsService);
        DWORD cookie = 0;
        ASSERT_EQ(S_OK, PointOf(service.Get(), DIID_QKAccountEvents)->Advise(&sink, &cookie));
        EXPECT_EQ(S_FALSE, library.CanUnloadNow());
    }
    EXPECT_EQ(0u, sink.refs) << "the dying object lets go of its sinks";
    EXPECT_EQ(S_OK, library.CanUnloadNow());
}
}  // namespace
