// How a meeting item draws itself: background, the buttons' matching colour,
// the status label with the in-progress mark, the topic's icons and the
// separating line, all off-screen and copied in one go.
#include "DcGuards.h"
#include "DibFormat.h"
#include "SolidFill.h"
#include "UniqueHandle.h"
#include "ItemWnd.h"
#include "VelGdiplus.h"

namespace {
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDimmed = RGB(153, 153, 153);
constexpr COLORREF kTopic = RGB(70, 118, 136);
constexpr COLORREF kText = RGB(51, 51, 51);
constexpr COLORREF kHostText = RGB(99, 95, 95);

void MoveChildTo(HWND child, HWND parent, int x, int y) {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    if (rect.left != x || rect.top != y)
        ::SetWindowPos(child, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

LRESULT CItemWnd::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    const bool dimmed = m_bPast && !m_bTall;
    COLORREF color = kText;
    if (m_bHighlighted)
        color = kWhite;
    else if (id == kIdTopic)
        color = dimmed ? kDimmed : kTopic;
    else if (id == kIdStartTime || id == kIdLabel1057)
        color = dimmed ? kDimmed : kText;
    else if (id == kIdHostLine || id == kIdLabel1059)
        color = kHostText;
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

LRESULT CItemWnd::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) {
    // The paint covers every pixel; erasing first would only flicker. The
    // topic is drawn transparently, so it must follow the background.
    if (m_topic.Exists()) ::InvalidateRect(m_topic.GetHwnd(), nullptr, FALSE);
    return 1;
}

LRESULT CItemWnd::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    PaintItem(dc.get());
    return 0;
}

LRESULT CItemWnd::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
    PaintItem(reinterpret_cast<HDC>(wParam));
    return 0;
}

void CItemWnd::PaintItem(HDC target) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    if (width <= 0 || height <= 0) return;

    UniqueMemDC memory(::CreateCompatibleDC(target));
    UniqueHbitmap bitmap(CreateBackBuffer(width, height));
    if (!memory || !bitmap) return;
    SelectGuard selected(memory.get(), bitmap.get());
    HDC dc = memory.get();

    if (m_bHighlighted) {
        CVelGdiplus::FillGradient(dc, 0, 0, width, height, kHighlightTop, kHighlightMiddle,
                                  CVelGdiplus::kGradientMirrored);
    } else {
        FillSolid(dc, client, BackgroundColor());
    }
    ApplyBackgroundToButtons(BackgroundColor());

    if (m_bTall && m_statusLabel.Exists() && m_meetingButton.IsWindow()) {
        const RECT button = ChildRect(m_meetingButton.m_hWnd);
        const RECT label = m_statusLabel.GetRectInParent();
        int x = button.left;
        SIZE mark{};
        if (m_bInProgress && CVelGdiplus::GetImageSize(mark, kInProgressImage)) {
            const int y = label.top + ((label.bottom - label.top) - mark.cy) / 2;
            CVelGdiplus::DrawImage(dc, x, y, kInProgressImage);
            x += mark.cx + 2;
        }
        MoveChildTo(m_statusLabel.GetHwnd(), m_hWnd, x, label.top);
    }

    if (m_topic.Exists()) {
        const RECT topic = m_topic.GetRectInParent();
        const int textWidth = m_topic.MeasureText(m_topic.GetText().c_str());
        int x = std::min<int>(topic.right, topic.left + textWidth) + 2;
        auto drawIcon = [&](UINT imageId) {
            SIZE size{};
            if (!CVelGdiplus::GetImageSize(size, imageId)) return;
            CVelGdiplus::DrawImage(dc, x, topic.top, imageId);
            x += size.cx + 2;
        };
        for (UINT icon : TopicIcons()) drawIcon(icon);
        if (m_recordingButton.IsWindow() && ::IsWindowVisible(m_recordingButton.m_hWnd))
            MoveChildTo(m_recordingButton.m_hWnd, m_hWnd, x, topic.top);
    }

    UniqueHpen pen(::CreatePen(PS_SOLID, 1, kBottomLine));
    {
        SelectGuard selectedPen(dc, pen.get());
        ::MoveToEx(dc, 0, height - 1, nullptr);
        ::LineTo(dc, width, height - 1);
    }
    ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}
