#pragma once
// A day view as the meeting list view holds it, on the real data provider fed
// by the suite's web-API component from a meeting store, with the real host's
// event bus, the module's resource library and UI toolkit, and "now" pinned
// to noon of the first day.
#include <windows.h>

#include <memory>
#include <string>

#include "BenchFrame.h"
#include "BubbleInfor.h"
#include "DailyView.h"
#include "MeetingDataProvider.h"
#include "MeetingDay.h"
#include "UniqueHandle.h"

class CHostApp;

namespace bench {
// Milliseconds of each part of a refresh.
struct RefreshPhases {
    double load = 0.0;     // the provider: web-API answer, parse, visible window
    double refresh = 0.0;  // the day view's refresh, which paints what it changed
    double paint = 0.0;    // whatever was still left to paint
};

class DayScene {
public:
    // `perDay` meetings on today and on tomorrow.
    explicit DayScene(int perDay);
    ~DayScene();
    DayScene(const DayScene&) = delete;
    DayScene& operator=(const DayScene&) = delete;

    // Empty when the scene stands; otherwise what failed.
    [[nodiscard]] const std::string& Error() const noexcept { return m_error; }
    [[nodiscard]] CMeetingDataProvider& Provider() noexcept { return *m_provider; }
    [[nodiscard]] CDailyView& View() noexcept { return *m_view; }
    [[nodiscard]] BenchFrame& Frame() noexcept { return *m_frame; }

    // The provider's load with the visible window, the day view's refresh,
    // and every window of it painted before this returns.
    RefreshPhases Refresh();
    // Paints whatever of the day view is invalid, children included, now.
    void PaintNow();
    // One scroll by a meeting (down or up), every animation tick sent and
    // painted in turn; `tick` receives each tick's milliseconds when given.
    void Scroll(bool down, std::vector<double>* tick = nullptr);
    // The detail bubble of the first shown meeting, opened and closed.
    BOOL OpenBubble();
    void CloseBubble();
    // The day's meetings document as the web-API component answers it.
    std::wstring DayDocument();
    // The host's loop, run until no message is waiting.
    void Pump();

private:
    std::string m_error;
    RegistryOverride m_registry;
    std::wstring m_storePath;
    DATE m_now = 0.0;
    UniqueHmodule m_resources;
    bool m_toolkit = false;
    CHostApp* m_host = nullptr;
    std::unique_ptr<BenchFrame> m_frame;
    std::unique_ptr<CMeetingDataProvider> m_provider;
    UniqueHwnd m_listView;
    std::unique_ptr<CDailyView> m_view;
    std::unique_ptr<CBubbleInfor> m_bubble;
};
}  // namespace bench
