// qkhover.exe [timeout seconds]
//
// Waits for the running desktop client's meetings window, brings it forward
// and rests the mouse on the meeting that is in progress, the way a user
// hovers it, until the detail bubble shows (20 seconds at most by default).
// Exit codes: 0 the bubble shows, 2 no meetings window, 3 no meeting in
// progress, 4 no bubble in time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
const wchar_t kFrameClass[] = L"QK_SJ_MainFrame_3DD8BA03-E8BC-421c-961F-4936E19F010F";
const wchar_t kBubbleTitle[] = L"Veltra DesktopBubble";
// The item's status label and the resource text it shows for a meeting in progress.
constexpr int kStatusLabelId = 1035;
constexpr UINT kInProgressString = 61464;

std::wstring TextOf(HWND window) {
    wchar_t text[260] = {};
    ::GetWindowTextW(window, text, 260);
    return text;
}

std::wstring InProgressText() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    const HMODULE resources =
        ::LoadLibraryExW((folder + L"qksjres.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!resources) return L"";
    wchar_t text[260] = {};
    ::LoadStringW(resources, kInProgressString, text, 260);
    ::FreeLibrary(resources);
    return text;
}

struct Search {
    std::wstring wanted;
    HWND item = nullptr;
};

BOOL CALLBACK FindItem(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (::GetDlgCtrlID(window) != kStatusLabelId || !::IsWindowVisible(window)) return TRUE;
    if (TextOf(window) != search->wanted) return TRUE;
    search->item = ::GetParent(window);
    return FALSE;
}

bool BubbleShows() {
    const HWND bubble = ::FindWindowW(nullptr, kBubbleTitle);
    return bubble && ::IsWindowVisible(bubble);
}
}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const std::wstring inProgress = InProgressText();
    int failure = 2;
    // The client may still be starting: look again until the time is up.
    for (int waited = 0; waited < seconds * 10; ++waited, ::Sleep(100)) {
        const HWND frame = ::FindWindowW(kFrameClass, nullptr);
        if (!frame || !::IsWindowVisible(frame)) continue;
        Search search{inProgress};
        if (!inProgress.empty()) ::EnumChildWindows(frame, &FindItem, reinterpret_cast<LPARAM>(&search));
        if (!search.item) {
            failure = 3;
            continue;
        }
        failure = 4;
        // The bubble opens only for the active meetings window.
        if (::GetForegroundWindow() != frame) ::SetForegroundWindow(frame);
        RECT item{};
        ::GetWindowRect(search.item, &item);
        // Over the topic, clear of the meeting button on the right.
        ::SetCursorPos(item.left + (item.right - item.left) / 3, item.top + (item.bottom - item.top) / 2);
        if (BubbleShows()) return 0;
    }
    const char* why[] = {"", "", "no meetings window", "no meeting in progress", "no bubble"};
    std::fprintf(stderr, "qkhover: %s after %d s\n", why[failure], seconds);
    return failure;
}
