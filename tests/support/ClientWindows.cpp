#include "support/ClientWindows.h"

namespace testsupport {
std::vector<HWND> VisibleMeetingItems(HWND frame) {
    std::vector<HWND> items;
    struct Walk {
        static BOOL CALLBACK Child(HWND window, LPARAM state) {
            auto* found = reinterpret_cast<std::vector<HWND>*>(state);
            const HWND button = ::GetDlgItem(window, kMeetingButton);
            if (button && ::GetParent(button) == window && ::IsWindowVisible(window)) found->push_back(window);
            return TRUE;
        }
    };
    ::EnumChildWindows(frame, &Walk::Child, reinterpret_cast<LPARAM>(&items));
    return items;
}
}  // namespace testsupport
