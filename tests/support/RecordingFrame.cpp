#include "support/RecordingFrame.h"

#include <cwchar>

#include "DcGuards.h"

namespace testsupport {
namespace {
const wchar_t kFrameClass[] = L"QkTest_RecordingFrame";
std::vector<WPARAM> g_commands;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        g_commands.push_back(wParam);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring Text(BSTR value) { return value ? std::wstring(value) : L"(null)"; }

std::wstring DateText(DATE value) {
    wchar_t text[32] = {};
    std::swprintf(text, 32, L"%.6f", value);
    return text;
}
}  // namespace

RecordingFrame::RecordingFrame() {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kFrameClass;
    ::RegisterClassExW(&wc);
    m_window.reset(::CreateWindowExW(0, kFrameClass, L"frame", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr));
    g_commands.clear();
}

RecordingFrame::~RecordingFrame() {
    m_window.reset();
    if (m_images) ::ImageList_Destroy(m_images);
    ::UnregisterClassW(kFrameClass, ::GetModuleHandleW(nullptr));
}

HRESULT RecordingFrame::GetSyncObject(IQKWebApiSync** sync, BOOL reset) {
    if (!sync) return E_INVALIDARG;
    if (reset) m_sync.Reset();
    if (!m_sync) m_sync = m_library.Create();
    if (!m_sync) return E_FAIL;
    return m_sync.CopyTo(sync);
}

HRESULT RecordingFrame::StartMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR topic, LONG value) {
    calls.push_back(L"StartMeeting key=" + Text(meetingKey) + L" key2=" + Text(meetingKey2) + L" topic=" + Text(topic) +
                    L" value=" + std::to_wstring(value));
    return S_OK;
}

HRESULT RecordingFrame::JoinMeeting(BSTR meetingKey, BSTR meetingKey2, BSTR password, BSTR site, LONG value,
                                    BOOL passwordRequired) {
    calls.push_back(L"JoinMeeting key=" + Text(meetingKey) + L" key2=" + Text(meetingKey2) + L" password=" +
                    Text(password) + L" site=" + Text(site) + L" value=" + std::to_wstring(value) +
                    L" passwordRequired=" + std::to_wstring(passwordRequired));
    return S_OK;
}

HRESULT RecordingFrame::EditMeeting(BSTR meetingKey, BOOL notFromOI, DATE start) {
    calls.push_back(L"EditMeeting key=" + Text(meetingKey) + L" notFromOI=" + std::to_wstring(notFromOI) +
                    L" start=" + DateText(start));
    return S_OK;
}

HRESULT RecordingFrame::ViewMeetingDetail(BSTR meetingKey, BOOL notFromOI, DATE start) {
    calls.push_back(L"ViewMeetingDetail key=" + Text(meetingKey) + L" notFromOI=" + std::to_wstring(notFromOI) +
                    L" start=" + DateText(start));
    return S_OK;
}

HIMAGELIST RecordingFrame::CommandImage(UINT command, int* index) const {
    if (index) *index = -1;
    if (!m_images || command != m_imageCommand) return nullptr;
    if (index) *index = 0;
    return m_images;
}

void RecordingFrame::SetCommandImage(UINT command, COLORREF color) {
    if (!m_images) m_images = ::ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
    UniqueHbitmap bitmap;
    {
        WindowDC screen(nullptr);
        UniqueMemDC dc(::CreateCompatibleDC(screen.get()));
        bitmap.reset(::CreateCompatibleBitmap(screen.get(), 16, 16));
        SelectGuard selected(dc.get(), bitmap.get());
        RECT all{0, 0, 16, 16};
        UniqueHbrush brush(::CreateSolidBrush(color));
        ::FillRect(dc.get(), &all, brush.get());
    }
    ::ImageList_RemoveAll(m_images);
    ::ImageList_Add(m_images, bitmap.get(), nullptr);
    m_imageCommand = command;
}

std::vector<WPARAM> RecordingFrame::TakeCommands() {
    std::vector<WPARAM> taken;
    taken.swap(g_commands);
    return taken;
}
}  // namespace testsupport
