#include "BubblePaint.h"

#include <algorithm>
#include <string>

#include "BubbleLayout.h"
#include "DcGuards.h"
#include "VelGdiplus.h"

void CBubblePaint::SetShape(const RECT& client, const RECT& body, const std::array<POINT, 3>* tail) {
    UniqueHrgn shape(::CreateRoundRectRgn(body.left, body.top, body.right, body.bottom, BubbleLayout::kCornerSize,
                                          BubbleLayout::kCornerSize));
    UniqueHrgn bounds(::CreateRectRgnIndirect(&client));
    if (!shape || !bounds) {
        m_shape.reset();
        return;
    }
    ::CombineRgn(shape.get(), shape.get(), bounds.get(), RGN_AND);
    if (tail) {
        UniqueHrgn triangle(::CreatePolygonRgn(tail->data(), static_cast<int>(tail->size()), WINDING));
        if (triangle) ::CombineRgn(shape.get(), shape.get(), triangle.get(), RGN_OR);
    }
    m_shape = std::move(shape);
}

HRGN CBubblePaint::CopyShape() const {
    if (!m_shape) return nullptr;
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    if (copy) ::CombineRgn(copy, m_shape.get(), nullptr, RGN_COPY);
    return copy;
}

void CBubblePaint::ResetShape() noexcept { m_shape.reset(); }

void CBubblePaint::PaintBubble(HDC dc) const {
    if (m_shape) {
        UniqueHbrush body(::CreateSolidBrush(kBodyColor));
        UniqueHbrush frame(::CreateSolidBrush(kFrameColor));
        if (body) ::FillRgn(dc, m_shape.get(), body.get());
        if (frame) ::FrameRgn(dc, m_shape.get(), frame.get(), 1, 1);
    }
    for (const Mark& mark : m_marks) CVelGdiplus::DrawImage(dc, mark.rect.left, mark.rect.top, mark.image);
}

void CBubblePaint::DrawStaticText(const DRAWITEMSTRUCT& item, int lines) {
    const int length = ::GetWindowTextLengthW(item.hwndItem);
    if (length <= 0) return;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(item.hwndItem, text.data(), length + 1)));

    const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    SelectGuard selected(item.hDC, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(item.hDC, &metrics);
    const int lineHeight = std::max<int>(1, metrics.tmHeight);
    RECT area = item.rcItem;
    lines = std::max(1, std::min(lines, static_cast<int>(area.bottom - area.top) / lineHeight));

    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, kTextColor);
    UINT format = DT_LEFT | DT_TOP | DT_NOPREFIX;
    if (lines == 1) {
        format |= DT_SINGLELINE | DT_END_ELLIPSIS;
    } else {
        // Only whole lines: the last one that fits ends the text.
        area.bottom = std::min<LONG>(area.bottom, area.top + lines * lineHeight);
        format |= DT_WORDBREAK | DT_EDITCONTROL;
    }
    ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area, format);
}
