#include "ItemWndController.h"
#include "SolidFill.h"

#include <algorithm>

#include "DcGuards.h"
#include "DeferredMoves.h"
#include "HostEvents.h"
#include "MeetingRecord.h"
#include "ModuleState.h"
#include "Trace.h"
#include "UniqueHandle.h"

CItemWndController::~CItemWndController() { DestroyAll(); }

bool RegisterDayViewClass(const wchar_t* className) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    return CWindowBase::RegisterClassOnce(wc);
}

HWND CItemWndController::Create(HWND parent, const RECT& rect) {
    if (!RegisterDayViewClass(kClassName)) return nullptr;
    return CreateEx(0, kClassName, nullptr, kStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent, nullptr);
}

LRESULT CItemWndController::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    // Every item window is made now, so scrolling and refreshing never create one.
    for (int i = 0; i < kNormalItems + kTallItems; ++i) {
        const bool tall = i >= kNormalItems;
        auto item = std::make_unique<CItemWnd>(m_frame);
        if (!item->Create(m_hWnd, tall ? CItemWnd::kTallTemplate : CItemWnd::kNormalTemplate, tall)) return -1;
        (tall ? m_tallPool : m_normalPool).push_back(item.get());
        m_items.push_back(std::move(item));
    }
    // A tall item is exactly two normal rows, whatever its template says.
    RECT normal{};
    ::GetWindowRect(m_normalPool.front()->m_hWnd, &normal);
    for (CItemWnd* tall : m_tallPool)
        ::SetWindowPos(tall->m_hWnd, nullptr, 0, 0, normal.right - normal.left, 2 * (normal.bottom - normal.top),
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void CItemWndController::DestroyAll() {
    for (CItemWnd* item : m_shown) ReturnToPool(item);
    m_shown.clear();
    for (const auto& item : m_items) {
        item->StopHoverTimer();
        if (item->IsWindow()) ::DestroyWindow(item->m_hWnd);
    }
    m_tallPool.clear();
    m_normalPool.clear();
    m_items.clear();
    m_nTotalHeight = 0;
}

int CItemWndController::GetItemHeight() const {
    for (const auto& item : m_items)
        if (!item->IsTall()) return HeightOf(item.get());
    return 0;
}

int CItemWndController::HeightOf(const CItemWnd* item) {
    RECT rect{};
    if (!item || !::GetWindowRect(item->m_hWnd, &rect)) return 0;
    return rect.bottom - rect.top;
}

namespace {
// The window's own visibility, whatever its parents' is: a hidden container
// still has rows that will show with it.
bool HasVisibleStyle(HWND window) { return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }
}  // namespace

bool CItemWndController::IsShownAt(HWND item, const RECT& place) const {
    if (!HasVisibleStyle(item)) return false;
    RECT rect{};
    ::GetWindowRect(item, &rect);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return ::EqualRect(&rect, &place) != FALSE;
}

int CItemWndController::ClientWidth() const {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    return client.right;
}

CItemWnd* CItemWndController::TakeFromPool(bool tall) {
    std::vector<CItemWnd*>& pool = tall ? m_tallPool : m_normalPool;
    if (pool.empty()) return nullptr;
    CItemWnd* item = pool.front();
    pool.erase(pool.begin());
    return item;
}

void CItemWndController::ReturnToPool(CItemWnd* item) {
    item->StopHoverTimer();
    (item->IsTall() ? m_tallPool : m_normalPool).push_back(item);
}

void CItemWndController::ReturnShownToPools() {
    // Back to the front, in row order: a refill of the same rows takes the
    // same windows again, which then already stand where they belong.
    for (auto it = m_shown.rbegin(); it != m_shown.rend(); ++it) {
        (*it)->StopHoverTimer();
        std::vector<CItemWnd*>& pool = (*it)->IsTall() ? m_tallPool : m_normalPool;
        pool.insert(pool.begin(), *it);
    }
    m_shown.clear();
}

CItemWnd* CItemWndController::ItemAt(int row) const noexcept {
    if (row < 0 || row >= static_cast<int>(m_shown.size())) return nullptr;
    return m_shown[static_cast<size_t>(row)];
}

int CItemWndController::RowOfMeeting(int meetingIndex) const noexcept {
    for (size_t row = 0; row < m_shown.size(); ++row)
        if (m_shown[row]->GetMeeting().m_nIndex == meetingIndex) return static_cast<int>(row);
    return -1;
}

void CItemWndController::ShowWndList(IDailyMeetingSink* sink) {
    if (!sink) {
        TraceError("CItemWndController::ShowWndList pDailyMeetingSink==NULL");
        return;
    }
    const int first = sink->GetFirstVisibleIndex();
    const int count = sink->GetMeetingCount();
    int last = sink->GetLastVisibleIndex();
    if (first < 0 || last >= count) last = -1;
    m_nLastShown = last;

    CDeferredMoves moves(kNormalItems + kTallItems);
    ReturnShownToPools();
    m_nTotalHeight = 0;
    const int width = ClientWidth();
    int y = 0, tallShown = 0, normalShown = 0;
    for (int index = first; index >= 0 && index <= last; ++index) {
        CMeetingRecord meeting;
        if (FAILED(sink->GetMeeting(static_cast<UINT32>(index), &meeting))) continue;
        const bool tall = meeting.m_bProminent == 1;
        int& shown = tall ? tallShown : normalShown;
        if (shown == (tall ? kMaxTallShown : kMaxNormalShown)) break;
        CItemWnd* item = TakeFromPool(tall);
        if (!item) break;
        ++shown;
        item->SetRowIndex(static_cast<int>(m_shown.size()));
        m_shown.push_back(item);
        const int height = HeightOf(item);
        if (!IsShownAt(item->m_hWnd, RECT{0, y, width, y + height}))
            moves.Move(item->m_hWnd, 0, y, width, height, SWP_SHOWWINDOW);
        // Refilled unseen; the whole row is drawn once at the end.
        ::SendMessageW(item->m_hWnd, WM_SETREDRAW, FALSE, 0);
        item->RefreshItemWnd(meeting);
        item->StartHoverTimer();
        y += height;
        m_nTotalHeight += height;
    }
    for (std::vector<CItemWnd*>* pool : {&m_tallPool, &m_normalPool}) {
        for (CItemWnd* item : *pool) {
            if (HasVisibleStyle(item->m_hWnd))
                moves.Move(item->m_hWnd, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE);
            item->StopHoverTimer();
        }
    }
    moves.Apply();

    ReapplyHighlight();
    for (CItemWnd* item : m_shown) {
        ::SendMessageW(item->m_hWnd, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(item->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
}

void CItemWndController::ReapplyHighlight() {
    const int rows = static_cast<int>(m_shown.size());
    if (m_nHighlight < rows)
        SetHighlight(m_nHighlight);
    else
        SetHighlight(rows - 1);
}

BOOL CItemWndController::SetHighlight(int row) {
    const int rows = static_cast<int>(m_shown.size());
    if (row != -1 && (row < 0 || row >= rows)) return FALSE;
    m_nHighlight = row;
    for (int i = 0; i < rows; ++i) {
        m_shown[static_cast<size_t>(i)]->SetHighlight(i == row ? TRUE : FALSE);
        m_shown[static_cast<size_t>(i)]->SetRowIndex(i);
    }
    return TRUE;
}

void CItemWndController::ShowBubble(int meetingIndex, int row) {
    CItemWnd* item = ItemAt(row);
    if (!item || !item->IsWindow()) return;
    RECT rect{};
    ::GetWindowRect(item->m_hWnd, &rect);
    FireHostEvent(VelEvent::ShowBubble, reinterpret_cast<INT_PTR>(&rect), meetingIndex,
                  reinterpret_cast<INT_PTR>(item->m_hWnd));
}

void CItemWndController::OpenContextMenu(int row) {
    if (CItemWnd* item = ItemAt(row)) item->CreatePopupMenu();
}

void CItemWndController::DefaultAction(int row) {
    if (CItemWnd* item = ItemAt(row)) item->DefaultAction();
}

LRESULT CItemWndController::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CItemWndController::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    FillSolid(dc.get(), dc.paintStruct().rcPaint, RGB(255, 255, 255));
    return 0;
}

LRESULT CItemWndController::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    FillSolid(reinterpret_cast<HDC>(wParam), client, RGB(255, 255, 255));
    return 0;
}
