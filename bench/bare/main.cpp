// qkbench_bare.exe: the floor of the start-up benchmark. The least a Windows
// program of this toolchain does to have a window: register a class, create
// one hidden window, drain its messages, and exit.
#include <windows.h>

namespace {
const wchar_t kClass[] = L"QkBench_Bare";
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = kClass;
    if (!::RegisterClassExW(&wc)) return 1;
    HWND window = ::CreateWindowExW(0, kClass, L"bare", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                    instance, nullptr);
    if (!window) return 2;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::DestroyWindow(window);
    ::UnregisterClassW(kClass, instance);
    return 0;
}
