#pragma once
// The item container of the day view: it creates every item window once
// (seven normal, four tall), lays the visible meetings of the day out from
// top to bottom, keeps one row highlighted, and moves the rows a quarter row
// per step when the day view scrolls by one meeting.
#include <windows.h>

#include <memory>
#include <vector>

#include "DailyMeetingSink.h"
#include "FrameServices.h"
#include "ItemWnd.h"
#include "WindowBase.h"

// The day view and its item container register their classes alike: redrawn
// on resizing, with double clicks, the window colour and the arrow cursor.
bool RegisterDayViewClass(const wchar_t* className);

class CItemWndController : public CWindowBase {
public:
    static constexpr const wchar_t* kClassName = L"Vel_WndController";
    static constexpr DWORD kStyle = 0x52010000;  // child, visible, clip children, tab stop
    static constexpr int kNormalItems = 7;
    static constexpr int kTallItems = 4;
    // What one layout holds at most.
    static constexpr int kMaxNormalShown = 6;
    static constexpr int kMaxTallShown = 3;
    enum Direction : int { kUp = 1, kDown = 2 };
    static constexpr int kLastStep = 4;

    // `frame` is handed to every item window (may be null).
    explicit CItemWndController(IFrameServices* frame) noexcept : m_frame(frame) {}
    ~CItemWndController() override;

    HWND Create(HWND parent, const RECT& rect);
    // Shown items go back to their pools; then every item window is
    // destroyed and deleted.
    void DestroyAll();

    // Height of a normal item; 0 before the items exist.
    [[nodiscard]] int GetItemHeight() const;
    // Lays out the visible window of the day.
    void ShowWndList(IDailyMeetingSink* sink);
    // One step (0 to 4) of a scroll by one meeting in `direction`.
    void ShowAnimation(IDailyMeetingSink* sink, int step, int direction);

    // Rows count from 0 at the top; -1 clears. FALSE for a row not shown.
    BOOL SetHighlight(int row);
    [[nodiscard]] int GetHighlightIndex() const noexcept { return m_nHighlight; }
    // Sum of the heights of the laid-out items.
    [[nodiscard]] int GetTotalHeight() const noexcept { return m_nTotalHeight; }
    [[nodiscard]] int GetLastShownIndex() const noexcept { return m_nLastShown; }

    // Row operations; nothing for a row not shown.
    void ShowBubble(int meetingIndex, int row);
    void OpenContextMenu(int row);
    void DefaultAction(int row);

    // The laid-out items, row 0 first, and the row that shows `meetingIndex` (-1: none).
    [[nodiscard]] const std::vector<CItemWnd*>& GetShownItems() const noexcept { return m_shown; }
    [[nodiscard]] int RowOfMeeting(int meetingIndex) const noexcept;
    [[nodiscard]] size_t GetPooledCount() const noexcept { return m_tallPool.size() + m_normalPool.size(); }

    BEGIN_MSG_MAP(CItemWndController)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    END_MSG_MAP()

private:
    // Takes the first item of the pool that fits `meeting`; null when none is free.
    CItemWnd* TakeFromPool(bool tall);
    void ReturnToPool(CItemWnd* item);
    void ReturnShownToPools();
    // Shown, and at `place` in the container's client coordinates.
    [[nodiscard]] bool IsShownAt(HWND item, const RECT& place) const;
    // Places a taken item off the visible area, filled with `meeting`.
    void PrepareEntering(CItemWnd* item, const CMeetingRecord& meeting, int y);
    // Highlight index re-applied after the rows changed (clamped to the rows).
    void ReapplyHighlight();
    [[nodiscard]] CItemWnd* ItemAt(int row) const noexcept;
    [[nodiscard]] static int HeightOf(const CItemWnd* item);
    [[nodiscard]] int ClientWidth() const;

    LRESULT OnCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPrintClient(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    IFrameServices* m_frame;
    // Every item window; the pools and the shown list point into it, each
    // item in exactly one of them.
    std::vector<std::unique_ptr<CItemWnd>> m_items;
    std::vector<CItemWnd*> m_tallPool;
    std::vector<CItemWnd*> m_normalPool;
    std::vector<CItemWnd*> m_shown;
    int m_nHighlight = -1;
    int m_nTotalHeight = 0;
    int m_nLastShown = -1;
};
