#pragma once
// Where the parts of the day view go, from its client rectangle and the
// height h of a normal item: the 24-pixel date strip on top, then an up strip
// g pixels high, the item area one pixel short of six rows, and the down
// strip from the item area's last pixel row to the bottom.
#include <windows.h>

struct DailyViewLayout {
    static constexpr int kDateStripHeight = 24;
    static constexpr int kRows = 6;

    int stripHeight = 0;  // g: (H - 24 - 6h) / 2, truncated toward zero
    RECT dateStrip{};
    RECT below{};  // everything under the date strip: the empty view's place
    RECT upStrip{};
    RECT items{};
    RECT downStrip{};

    [[nodiscard]] static DailyViewLayout Compute(const RECT& client, int itemHeight) noexcept {
        DailyViewLayout layout;
        const int top = client.top + kDateStripHeight;
        const int g = (client.bottom - client.top - kDateStripHeight - kRows * itemHeight) / 2;
        const int itemsBottom = top + g + kRows * itemHeight - 1;
        layout.stripHeight = g;
        layout.dateStrip = {client.left, client.top, client.right, top};
        layout.below = {client.left, top, client.right, client.bottom};
        layout.upStrip = {client.left, top, client.right, top + g};
        layout.items = {client.left, top + g, client.right, itemsBottom};
        layout.downStrip = {client.left, itemsBottom, client.right, client.bottom};
        return layout;
    }

    // What the view itself paints white: below the `laidOut` pixels of items
    // down to where the down strip would end if it were g high.
    [[nodiscard]] RECT FillBelowItems(const RECT& client, int laidOut) const noexcept {
        return {client.left, items.top + laidOut, client.right, client.bottom - stripHeight};
    }
};
