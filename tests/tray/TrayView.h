#pragma once
// What the shell's notification area shows, read back from the screen: an icon
// counts as shown when every opaque pixel of it appears at one spot of the
// tray window.
#include <windows.h>

namespace trayview {
// Whether `icon` (16x16) is on screen inside the tray window now.
bool Shows(HICON icon);
// Pumps this thread's messages until Shows(icon) == shown or the time is up;
// returns whether it got there.
bool WaitUntil(HICON icon, bool shown, DWORD timeoutMs = 3000);
}  // namespace trayview
