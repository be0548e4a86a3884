#include "NotifyLayout.h"

#include <algorithm>
#include <utility>

#include "BubbleLayout.h"

namespace NotifyLayout {
namespace {
int CenterX(const RECT& rect) { return rect.left + (rect.right - rect.left) / 2; }
int CenterY(const RECT& rect) { return rect.top + (rect.bottom - rect.top) / 2; }

// The tip's tail along an edge `length` long, kept clear of the body's corners.
int TailAt(int offset, int length) {
    const int margin = BubbleLayout::kTailWidth / 2 + BubbleLayout::kCornerSize;
    if (length < 2 * margin) return length / 2;
    return std::clamp(offset, margin, length - margin);
}

RECT Transposed(const RECT& rect) { return RECT{rect.top, rect.left, rect.bottom, rect.right}; }
}  // namespace

int ChooseTailCode(int mode, const RECT& anchor, SIZE screen) {
    if (mode == 0) return CenterX(anchor) < screen.cx / 2 ? kRightOfAnchor : kLeftOfAnchor;
    return CenterY(anchor) < screen.cy / 2 ? kBelowAnchor : kAboveAnchor;
}

Shape PlaceTip(int tailCode, const RECT& anchor, SIZE body) {
    // The tail takes a tail's depth and the frame one pixel beside the body.
    const int depth = BubbleLayout::kTailLength + 1;
    Shape shape{};
    const bool across = tailCode == kBelowAnchor || tailCode == kAboveAnchor;
    const SIZE size = across ? SIZE{body.cx + 1, body.cy + depth} : SIZE{body.cx + depth, body.cy + 1};
    RECT& window = shape.window;
    switch (tailCode) {
    case kLeftOfAnchor:
        window.left = anchor.left - size.cx;
        window.top = CenterY(anchor) - size.cy / 2 + kLeftSideDrop;
        break;
    case kBelowAnchor:
        window.top = anchor.bottom;
        window.left = CenterX(anchor) - size.cx / 2;
        break;
    case kAboveAnchor:
        window.top = anchor.top - size.cy;
        window.left = CenterX(anchor) - size.cx / 2;
        break;
    default:
        window.left = anchor.right;
        window.top = CenterY(anchor) - size.cy / 2;
        break;
    }
    window.right = window.left + size.cx;
    window.bottom = window.top + size.cy;

    // Above and below are beside turned on the diagonal: the tail on the top
    // edge is the tail on the left edge with x and y exchanged.
    const int side = tailCode == kLeftOfAnchor || tailCode == kAboveAnchor ? BubbleLayout::kBubbleLeftOfItem
                                                                           : BubbleLayout::kBubbleRightOfItem;
    if (!across) {
        shape.body = BubbleLayout::BodyRect(side, size);
        shape.tail = BubbleLayout::TailTriangle(side, size, TailAt(CenterY(anchor) - window.top, size.cy));
        return shape;
    }
    const SIZE turned{size.cy, size.cx};
    shape.body = Transposed(BubbleLayout::BodyRect(side, turned));
    shape.tail = BubbleLayout::TailTriangle(side, turned, TailAt(CenterX(anchor) - window.left, size.cx));
    for (POINT& point : shape.tail) std::swap(point.x, point.y);
    return shape;
}
}  // namespace NotifyLayout
