#pragma once
// The arithmetic of the one-time tip, apart from its window: which side of
// its anchor it opens on, where it goes there, and the shape of its body and
// of the tail that points at the anchor.
#include <windows.h>

#include <array>

namespace NotifyLayout {
inline constexpr int kTextWidth = 208;
// Below the anchor's centre when the tip opens on the left of it.
inline constexpr int kLeftSideDrop = 5;

// Where the tip lies against its anchor; the tail is on the opposite edge.
enum TailCode : int {
    kRightOfAnchor = 1,  // tail on the tip's left edge
    kLeftOfAnchor = 2,   // tail on its right edge
    kBelowAnchor = 3,    // tail on its top edge
    kAboveAnchor = 4,    // tail on its bottom edge
};

// Mode 0 opens beside the anchor, on the side of the screen with more room;
// any other mode above or below it.
int ChooseTailCode(int mode, const RECT& anchor, SIZE screen);

struct Shape {
    RECT window;                 // screen coordinates
    RECT body;                   // the round body, in client coordinates
    std::array<POINT, 3> tail;   // in client coordinates; the last point is the tip
};
// The tip with a body of `body` (its content and margins) placed for
// `tailCode` against `anchor`, its tail's tip on the anchor's centre line.
Shape PlaceTip(int tailCode, const RECT& anchor, SIZE body);
}  // namespace NotifyLayout
