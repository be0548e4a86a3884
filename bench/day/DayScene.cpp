#include "DayScene.h"

#include "BenchStats.h"
#include "Clock.h"
#include "ComHolders.h"
#include "HostEvents.h"
#include "ModuleState.h"
#include "UIToolkit.h"
#include "host/HostApp.h"

namespace bench {
namespace {
constexpr const wchar_t* kWebApiKey = L"SOFTWARE\\Zorvan\\Quillkit\\WebApi";
constexpr const wchar_t* kUserKey = L"SOFTWARE\\Zorvan\\Quillkit";
constexpr int kButtonBand = 30;

DATE Today() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    DATE value = 0.0;
    ::SystemTimeToVariantTime(&now, &value);
    return static_cast<DATE>(static_cast<long>(value));
}

std::wstring TempFile() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"qkbench-meetings-" + std::to_wstring(::GetCurrentProcessId()) + L".xml";
}
}  // namespace

DayScene::DayScene(int perDay) {
    const DATE today = Today();
    m_storePath = TempFile();
    if (!WriteFileText(m_storePath, StoreDocument(today, 2, perDay))) {
        m_error = "cannot write the meeting store";
        return;
    }
    m_registry.SetText(kWebApiKey, L"MeetingStore", m_storePath);
    m_registry.SetDword(kWebApiKey, L"SyncMilliseconds", 0);
    m_registry.SetDword(kWebApiKey, L"SyncStatus", WebApiSyncStatus::Succeeded);
    // The one-time empty view and tip are retired, as for a user of some days.
    m_registry.SetDword(kUserKey, CDailyView::kShowOnceSchedule, 1);
    m_registry.SetDword(kUserKey, CDailyView::kShowOncePastMeeting, 1);

    m_resources.reset(::LoadLibraryExW((ModuleState::Folder() + L"qksjres.dll").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE));
    if (!m_resources) {
        m_error = "cannot load qksjres.dll";
        return;
    }
    ModuleState::SetResourceInstance(m_resources.get());
    m_toolkit = CUIToolkit::Initialize(m_resources.get(), ModuleState::Folder());
    if (!m_toolkit) {
        m_error = "the UI toolkit did not start";
        return;
    }
    m_now = today + 0.5;
    Clock::PinLocalNow(&m_now);
    m_host = new CHostApp(L"\"qkbench.exe\"", {});
    SetEventHost(m_host);

    m_frame = std::make_unique<BenchFrame>();
    if (!m_frame->Synchronise()) {
        m_error = "the web-API component did not synchronise";
        return;
    }
    m_provider = std::make_unique<CMeetingDataProvider>(m_frame.get());
    m_provider->ResetDay(&today);
    m_provider->LoadDay(FALSE);

    // As wide as a normal item, six of its rows and the two strips high.
    const SIZE item = CItemWnd::TemplateSize(CItemWnd::kNormalTemplate);
    const int width = item.cx;
    const int height = DailyViewLayout::kDateStripHeight + 6 * item.cy + 2 * 14;
    m_listView.reset(::CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"list", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                       80, 80, width + 2, kButtonBand + height + 2, nullptr, nullptr, nullptr,
                                       nullptr));
    m_view = std::make_unique<CDailyView>(m_provider.get(), m_frame.get());
    if (!m_listView || !m_view->Create(m_listView.get(), RECT{0, kButtonBand, width, kButtonBand + height})) {
        m_error = "the day view was not created";
        return;
    }
    m_host->AddMessageFilter(m_view.get());
    m_bubble = std::make_unique<CBubbleInfor>(m_frame.get());
    m_view->RefreshDailyView();
    Pump();
    if (m_provider->GetMeetingCount() != perDay) m_error = "the day does not hold the meetings of the store";
}

DayScene::~DayScene() {
    m_bubble.reset();
    if (m_view && m_host) m_host->RemoveMessageFilter(m_view.get());
    m_view.reset();
    m_listView.reset();
    m_provider.reset();
    m_frame.reset();
    SetEventHost(nullptr);
    if (m_host) m_host->Release();
    Clock::PinLocalNow(nullptr);
    if (m_toolkit) CUIToolkit::Uninitialize();
    ModuleState::SetResourceInstance(nullptr);
    if (!m_storePath.empty()) ::DeleteFileW(m_storePath.c_str());
}

void DayScene::PaintNow() {
    ::RedrawWindow(m_view->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

RefreshPhases DayScene::Refresh() {
    RefreshPhases phases;
    Stopwatch watch;
    m_provider->LoadDay(FALSE);
    phases.load = watch.Milliseconds();
    watch.Restart();
    m_view->RefreshDailyView();
    phases.refresh = watch.Milliseconds();
    watch.Restart();
    PaintNow();
    phases.paint = watch.Milliseconds();
    return phases;
}

void DayScene::Scroll(bool down, std::vector<double>* tick) {
    if (down) m_view->ScrollDown();
    else m_view->ScrollUp();
    const UINT_PTR timer = down ? CDailyView::kDownTimer : CDailyView::kUpTimer;
    // Sent, not left to the timer, so that each tick is timed on its own; a
    // scroll that could not start ends at once.
    for (int step = 0; step < 5 && m_view->IsBusy(); ++step) {
        Stopwatch watch;
        ::SendMessageW(m_view->m_hWnd, WM_TIMER, timer, 0);
        PaintNow();
        if (tick) tick->push_back(watch.Milliseconds());
    }
}

BOOL DayScene::OpenBubble() {
    const auto& shown = m_view->GetItems().GetShownItems();
    if (shown.empty()) return FALSE;
    RECT anchor{};
    ::GetWindowRect(shown.front()->m_hWnd, &anchor);
    CBubblePara para;
    m_provider->GetMeetingDetailInfo(shown.front()->GetMeeting().m_nIndex, &para);
    return m_bubble->CreateMyWindow(shown.front()->m_hWnd, anchor, para);
}

void DayScene::CloseBubble() { m_bubble->Close(); }

std::wstring DayScene::DayDocument() {
    Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
    Bstr xml;
    const DATE day = m_provider->GetCurrentDate();
    if (FAILED(m_frame->GetSyncObject(sync.GetAddressOf(), FALSE)) ||
        FAILED(sync->QueryMeetings(m_frame->GetListType(), day, day + 86399.0 / 86400.0, xml.receive())))
        return {};
    return xml.str();
}

void DayScene::Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        if (m_host->PreTranslateMessage(&msg)) continue;
        if (::IsDialogMessageW(m_listView.get(), &msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
}  // namespace bench
