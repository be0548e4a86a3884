#include "BubbleLayout.h"

#include <algorithm>

namespace BubbleLayout {
namespace {
int CenterY(const RECT& rect) { return rect.top + (rect.bottom - rect.top) / 2; }
int CenterX(const RECT& rect) { return rect.left + (rect.right - rect.left) / 2; }
}  // namespace

Placement PlaceBubble(const RECT& anchor, int screenWidth, const RECT& workArea, int height) {
    Placement placement{};
    if (CenterX(anchor) < screenWidth / 2) {
        placement.rect.left = anchor.right + 2;
        placement.rect.right = placement.rect.left + kWidth;
        placement.tailSide = kBubbleRightOfItem;
    } else {
        placement.rect.right = anchor.left;
        placement.rect.left = placement.rect.right - kWidth;
        placement.tailSide = kBubbleLeftOfItem;
    }
    placement.rect.top = CenterY(anchor) - height / 2;
    placement.rect.bottom = placement.rect.top + height;
    placement.rect = MoveIntoWorkArea(placement.rect, workArea);
    return placement;
}

RECT MoveIntoWorkArea(RECT rect, const RECT& workArea) {
    if (rect.bottom > workArea.bottom) ::OffsetRect(&rect, 0, workArea.bottom - rect.bottom);
    if (rect.top < workArea.top) ::OffsetRect(&rect, 0, workArea.top - rect.top);
    return rect;
}

bool HasTail(const RECT& anchor, const RECT& workArea) {
    return workArea.bottom - CenterY(anchor) >= kTailBottomClearance;
}

RECT BodyRect(int tailSide, SIZE client) {
    if (tailSide == kBubbleLeftOfItem) return RECT{1, 1, client.cx - kTailLength, client.cy};
    return RECT{kTailLength + 1, 1, client.cx, client.cy};
}

std::array<POINT, 3> TailTriangle(int tailSide, SIZE client, int centerY) {
    const int half = kTailWidth / 2;
    if (tailSide == kBubbleLeftOfItem) {
        const int base = client.cx - kTailLength - 1;
        return {POINT{base, centerY - half}, POINT{base, centerY + half}, POINT{client.cx - 1, centerY}};
    }
    const int base = kTailLength + 1;
    return {POINT{base, centerY - half}, POINT{base, centerY + half}, POINT{1, centerY}};
}

int RowShift(int tailSide) { return tailSide == kBubbleRightOfItem ? kTailWidth : 0; }
int TitleShift(int tailSide) { return tailSide == kBubbleRightOfItem ? kTailLength : 0; }
int ContentLeft(int labelWidth) { return kLeftMargin + labelWidth + 10; }
int ContentWidth(int labelWidth) { return kWidth - kLeftMargin - labelWidth - 10 - kLeftMargin - kTailWidth; }

int ButtonLeft(int tailSide, int clientWidth) {
    // The same gap to the body's right edge on either side: with the tail on
    // the right the body ends a tail's depth before the client does.
    const int gapToBody = 141 - kButtonWidth - kTailLength;
    return tailSide == kBubbleLeftOfItem ? clientWidth - kTailLength - gapToBody - kButtonWidth
                                         : clientWidth - gapToBody - kButtonWidth;
}

CStringEx LimitText(const CStringEx& text) {
    CStringEx cut = text.Left(kMaxTextLength);
    int breakAt = -1;
    for (int line = 0; line < kMaxTextLines; ++line) {
        breakAt = cut.Find(L'\n', breakAt + 1);
        if (breakAt < 0) break;
    }
    if (breakAt >= 0) {
        CStringEx kept = cut.Left(breakAt);
        kept.TrimRight(L'\r');
        kept += L"...";
        return kept;
    }
    if (text.GetLength() > kMaxTextLength) cut += L"...";
    return cut;
}

CStringEx FormatInvitees(const CStringEx& invitees) {
    std::wstring shown;
    shown.reserve(static_cast<size_t>(invitees.GetLength()) + 16);
    for (wchar_t c : invitees.str()) {
        if (c == L';' || c == L',') {
            shown += L"; ";
        } else {
            shown += c;
        }
    }
    return CStringEx(shown);
}
}  // namespace BubbleLayout
