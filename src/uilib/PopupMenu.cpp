#include "PopupMenu.h"

#include <utility>

namespace {
PopupMenu::Tracker& Current() {
    static PopupMenu::Tracker tracker;
    return tracker;
}
}  // namespace

namespace PopupMenu {
UINT Track(HMENU menu, UINT flags, int x, int y, HWND owner) {
    if (Current()) return Current()(menu, flags, x, y, owner);
    return static_cast<UINT>(::TrackPopupMenuEx(menu, flags, x, y, owner, nullptr));
}

Tracker SetTracker(Tracker tracker) { return std::exchange(Current(), std::move(tracker)); }
}  // namespace PopupMenu
