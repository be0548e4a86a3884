#pragma once
// Meeting items on a real main frame and the real host's bus: a top-level
// window stands for the day view and a child of it for the item container,
// so that an item's row selection reaches its grandparent as it would.
#include <windows.h>

#include <memory>
#include <vector>

#include "support/Canvas.h"
#include "support/CommandFixture.h"
#include "support/TestSupport.h"
#include "ItemWnd.h"
#include "MeetingRecord.h"

namespace itemtest {
struct BubbleRequest {
    RECT rect;
    INT_PTR index;
    HWND item;
};

class BubbleRecorder : public CVelEventListener {
public:
    HRESULT HandleEvent(UINT code, INT_PTR first, INT_PTR second, INT_PTR third) override;
    std::vector<BubbleRequest> requests;
};

using testsupport::Canvas;
using testsupport::Near;
using testsupport::ResourceText;
using testsupport::WindowText;

class ItemTest : public commandtest::CommandTest {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // An item in the container, shown, `tall` or normal, filled with `meeting`.
    CItemWnd& MakeItem(bool tall);
    CItemWnd& ShowMeeting(const CMeetingRecord& meeting);
    // A meeting of today starting `startMinutes` from now (10:00) and lasting
    // `minutes`, with keys and texts the call log shows.
    CMeetingRecord Meeting(INT32 status, INT32 privilege, int startMinutes, int minutes = 60) const;

    [[nodiscard]] static std::wstring ControlText(const CItemWnd& item, int id) {
        return testsupport::WindowText(Control(item, id));
    }
    [[nodiscard]] static HWND Control(const CItemWnd& item, int id) { return ::GetDlgItem(item.m_hWnd, id); }
    [[nodiscard]] static bool Visible(const CItemWnd& item, int id) { return ::IsWindowVisible(Control(item, id)) != FALSE; }
    // Rests the cursor on the item (or away from every item); false when the
    // display does not move the cursor.
    bool PutCursorOn(const CItemWnd* item) const;
    static void HoverTick(CItemWnd& item) { ::SendMessageW(item.m_hWnd, WM_TIMER, CItemWnd::kHoverTimer, 0); }

    DATE now = 0.0;
    HWND dayView = nullptr;
    HWND container = nullptr;
    std::vector<std::unique_ptr<CItemWnd>> items;
    BubbleRecorder bubbles;
};

// Rows the day view was asked to highlight.
std::vector<WPARAM>& SelectedRows();
}  // namespace itemtest
