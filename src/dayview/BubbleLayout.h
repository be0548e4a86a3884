#pragma once
// The arithmetic of the meeting detail bubble, apart from its window: where it
// goes beside its item, the shape of its body and tail, the column widths of
// its table and the limits put on the texts it shows.
#include <windows.h>

#include <array>

#include "StringEx.h"

namespace BubbleLayout {
inline constexpr int kWidth = 382;
inline constexpr int kInitialHeight = 260;
inline constexpr int kLeftMargin = 20;  // label column; also the content column's right margin
inline constexpr int kTopMargin = 14;
inline constexpr int kTitleLines = 3;
inline constexpr int kTitleArea = 300;
inline constexpr int kTitleWidth = kTitleArea - 30;
inline constexpr int kRowHeight = 18;
inline constexpr int kButtonWidth = 110;
inline constexpr int kButtonHeight = 25;
inline constexpr int kTailLength = 10;
inline constexpr int kTailWidth = 16;
inline constexpr int kInitialLabelWidth = 96;
// Room left below the content for the body's bottom edge.
inline constexpr int kBottomMargin = 15;
// A tail closer than this to the bottom of the work area would point below
// the bubble's reach; the bubble then goes without one.
inline constexpr int kTailBottomClearance = 11;
inline constexpr int kCornerSize = 6;

inline constexpr int kMaxTextLength = 512;
inline constexpr int kMaxTextLines = 20;

// Which side of the item the bubble opens on.
enum TailSide : int {
    kBubbleRightOfItem = 0,  // tail on the bubble's left edge
    kBubbleLeftOfItem = 1,   // tail on the bubble's right edge
};

struct Placement {
    RECT rect;
    int tailSide;
};

// Beside `anchor` (the item's screen rectangle): on its right when its centre
// lies in the left half of the screen, else on its left; `height` high,
// centred on the anchor and moved to lie within `workArea`.
Placement PlaceBubble(const RECT& anchor, int screenWidth, const RECT& workArea, int height);
// `rect` moved up or down (never resized) to lie within `workArea`: its top
// edge wins when it is taller than the work area.
RECT MoveIntoWorkArea(RECT rect, const RECT& workArea);
// Whether the item's centre lies high enough above the work area's bottom for a tail.
bool HasTail(const RECT& anchor, const RECT& workArea);

// The body (a round rectangle) in client coordinates, leaving the tail's depth free.
RECT BodyRect(int tailSide, SIZE client);
// The tail's triangle in client coordinates; `centerY` is the item's centre
// in the bubble's client coordinates. The last point is the tip.
std::array<POINT, 3> TailTriangle(int tailSide, SIZE client, int centerY);

// Horizontal extra of the table rows, the title and the button when the tail
// takes the left edge.
int RowShift(int tailSide);
int TitleShift(int tailSide);
int ContentLeft(int labelWidth);
int ContentWidth(int labelWidth);
// Left edge of the action button in a client `clientWidth` wide.
int ButtonLeft(int tailSide, int clientWidth);

// A text as a row shows it: at most 512 characters and 20 lines, with "..."
// where anything was left out.
CStringEx LimitText(const CStringEx& text);
// Names joined by ";" or "," as the invitees row shows them, "; " between names.
CStringEx FormatInvitees(const CStringEx& invitees);
}  // namespace BubbleLayout
