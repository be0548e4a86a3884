#pragma once
// The module runs no message loop of its own: Tab, Enter and Escape reach a
// modeless dialog only when the host's loop hands the dialog's messages to
// IsDialogMessage. Dialogs that want that put themselves on this list; the
// frame's message filter walks it. A dialog leaves the list when its window
// goes (CDialogBase does that).
#include <windows.h>

namespace ModelessDialogs {
void Add(HWND dialog);
void Remove(HWND dialog) noexcept;
// TRUE when one of the listed dialogs took the message as dialog input.
BOOL PreTranslate(MSG* msg) noexcept;
}  // namespace ModelessDialogs
