#include "ModelessDialogs.h"

#include <algorithm>
#include <vector>

namespace {
// Only the user-interface thread creates dialogs and runs the loop.
std::vector<HWND>& Dialogs() {
    static std::vector<HWND> dialogs;
    return dialogs;
}
}  // namespace

namespace ModelessDialogs {
void Add(HWND dialog) {
    std::vector<HWND>& dialogs = Dialogs();
    if (dialog && std::find(dialogs.begin(), dialogs.end(), dialog) == dialogs.end()) dialogs.push_back(dialog);
}

void Remove(HWND dialog) noexcept {
    std::vector<HWND>& dialogs = Dialogs();
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
}

BOOL PreTranslate(MSG* msg) noexcept {
    if (!msg || Dialogs().empty()) return FALSE;
    try {
        // A key the dialog takes may close it (Enter, Escape) and so change the list.
        const std::vector<HWND> dialogs = Dialogs();
        for (HWND dialog : dialogs) {
            if (::IsWindow(dialog) && ::IsDialogMessageW(dialog, msg)) return TRUE;
        }
    } catch (...) {
        // Without a copy of the list the message goes the ordinary way.
    }
    return FALSE;
}
}  // namespace ModelessDialogs
