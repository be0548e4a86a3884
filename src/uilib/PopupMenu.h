#pragma once
// Every pop-up menu of the module is tracked through here: the platform
// tracks it unless a test has put a tracker in its place that answers for the
// user.
#include <windows.h>

#include <functional>

namespace PopupMenu {
// With TPM_RETURNCMD in `flags`, the chosen command or 0 for none.
using Tracker = std::function<UINT(HMENU menu, UINT flags, int x, int y, HWND owner)>;
UINT Track(HMENU menu, UINT flags, int x, int y, HWND owner);
// Null gives the platform's tracking back. Answers the tracker it replaced.
Tracker SetTracker(Tracker tracker);
}  // namespace PopupMenu
