#include "host/MessageLoop.h"

namespace {
// Messages that arrive continuously and must not restart idle processing.
bool IsIdleMessage(const MSG& msg) {
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // the system caret-blink timer
        return false;
    default:
        return true;
    }
}
}  // namespace

int RunMessageLoop(CHostApp& host) {
    MSG msg{};
    bool doIdle = true;
    for (;;) {
        while (doIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!host.RunIdleHandlers()) doIdle = false;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) continue;
        if (!got) break;
        if (!host.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) doIdle = true;
    }
    return host.CloseRequested() ? static_cast<int>(host.RequestedExitCode()) : static_cast<int>(msg.wParam);
}
