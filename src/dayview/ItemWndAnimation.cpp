// The scroll by one meeting, in five steps: step 0 brings the entering
// meetings' items just outside the visible area, steps 1 to 3 slide every row
// a quarter row, and step 4 lays the rows out afresh and lets go of the items
// that left.
#include "DeferredMoves.h"
#include "ItemWndController.h"
#include "MeetingRecord.h"
#include "Trace.h"

void CItemWndController::PrepareEntering(CItemWnd* item, const CMeetingRecord& meeting, int y) {
    ::SetWindowPos(item->m_hWnd, nullptr, 0, y, ClientWidth(), HeightOf(item),
                   SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
    item->RefreshItemWnd(meeting);
    ::RedrawWindow(item->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    item->StartHoverTimer();
}

void CItemWndController::ShowAnimation(IDailyMeetingSink* sink, int step, int direction) {
    if (!sink) {
        TraceError("CItemWndController::ShowAnimation NULL == pDailyMeetingSink");
        return;
    }
    const int first = sink->GetFirstVisibleIndex();
    const int last = sink->GetLastVisibleIndex();
    const int count = sink->GetMeetingCount();

    if (step == 0 && direction == kUp) {
        if (first < 0) return;
        CMeetingRecord meeting;
        if (FAILED(sink->GetMeeting(static_cast<UINT32>(first), &meeting))) return;
        CItemWnd* item = TakeFromPool(meeting.m_bProminent && !m_tallPool.empty());
        if (!item) {
            TraceError("There No Highlight Item Window in the vector for ScrollType_up");
            return;
        }
        m_shown.insert(m_shown.begin(), item);
        item->SetHighlight(FALSE);
        PrepareEntering(item, meeting, -HeightOf(item));
        // The highlighted meeting moved one row down; -1 (none) stays -1.
        if (static_cast<unsigned>(m_nHighlight) <= static_cast<unsigned>(count - 1)) ++m_nHighlight;
        return;
    }
    if (step == 0) {
        if (last >= count) return;
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        for (int k = 1; k <= last - m_nLastShown; ++k) {
            CMeetingRecord meeting;
            if (FAILED(sink->GetMeeting(static_cast<UINT32>(m_nLastShown + k), &meeting))) continue;
            CItemWnd* item = TakeFromPool(meeting.m_bProminent != 0);
            if (!item) {
                TraceError("There No Highlight Item Window in the vector for ScrollType_down");
                return;
            }
            m_shown.push_back(item);
            PrepareEntering(item, meeting, client.bottom);
        }
        if (m_nHighlight > 0) --m_nHighlight;
        return;
    }
    if (step >= 1 && step < kLastStep) {
        if (m_shown.empty()) return;
        const int shift = (direction == kUp ? 1 : -1) * (HeightOf(m_shown.front()) / 4);
        for (CItemWnd* item : m_shown)
            if (!::IsWindowVisible(item->m_hWnd)) ::ShowWindow(item->m_hWnd, SW_SHOWNA);
        // Rows and their pixels move together; only the strip that comes into
        // view is painted. The visible children are exactly the shown rows.
        ::ScrollWindowEx(m_hWnd, 0, shift, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE);
        return;
    }
    if (step != kLastStep) return;

    // The item leaving at the top keeps its place until it is let go below.
    const size_t from = direction == kDown ? 1 : 0;
    const int width = ClientWidth();
    int y = 0;
    // One batch of moves and one paint of every row, rather than a move and a
    // paint per row.
    {
        CDeferredMoves moves(static_cast<int>(m_shown.size()));
        for (size_t i = from; i < m_shown.size(); ++i) {
            CItemWnd* item = m_shown[i];
            const int height = HeightOf(item);
            moves.Move(item->m_hWnd, 0, y, width, height, SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOACTIVATE);
            y += height;
        }
    }
    for (size_t i = from; i < m_shown.size(); ++i)
        ::RedrawWindow(m_shown[i]->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto letGo = [this](CItemWnd* item) {
        ::ShowWindow(item->m_hWnd, SW_HIDE);
        ReturnToPool(item);
    };
    if (direction == kUp) {
        for (int k = 0; k < m_nLastShown - last; ++k) {
            if (m_shown.empty()) {
                TraceError("Cannot remove itemWnd from vector for ScrollType_up");
                break;
            }
            letGo(m_shown.back());
            m_shown.pop_back();
        }
    } else if (m_shown.empty()) {
        TraceError("Cannot remove itemWnd from vector for ScrollType_down");
    } else {
        letGo(m_shown.front());
        m_shown.erase(m_shown.begin());
    }
    m_nTotalHeight = 0;
    for (CItemWnd* item : m_shown) m_nTotalHeight += HeightOf(item);
    ReapplyHighlight();
    m_nLastShown = last;
}
