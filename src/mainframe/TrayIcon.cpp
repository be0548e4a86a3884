#include "TrayIcon.h"

#include <initializer_list>
#include <iterator>

#include "ModuleState.h"
#include "Trace.h"
#include "HostEvents.h"

namespace {
constexpr std::initializer_list<UINT> kEvents = {VelEvent::TrayTooltip, VelEvent::TrayImageState,
                                                 VelEvent::TrayBalloon};

// The record's text fields are fixed arrays; longer texts are cut to fit.
template <size_t N>
void CopyLimited(wchar_t (&buffer)[N], const wchar_t* text) {
    ::lstrcpynW(buffer, text ? text : L"", static_cast<int>(N));
}

HICON LoadTrayImage(UINT id) {
    const HINSTANCE resources = ModuleState::ResourceInstance();
    if (!resources) return nullptr;
    return static_cast<HICON>(::LoadImageW(resources, MAKEINTRESOURCEW(id), IMAGE_ICON, CTrayIcon::kImageSize,
                                           CTrayIcon::kImageSize, LR_DEFAULTCOLOR));
}
}  // namespace

CTrayIcon::CTrayIcon() : m_data{} { m_data.cbSize = kRecordSize; }

CTrayIcon::~CTrayIcon() {
    if (m_data.hWnd) Destroy();
}

BOOL CTrayIcon::Create(HWND owner, UINT callbackMessage, UINT id) {
    if (!owner || id == 0) {
        TraceError("CTrayIcon::Create");
        return FALSE;
    }
    if (m_data.hWnd) Destroy();

    m_data = NOTIFYICONDATAW{};
    m_data.cbSize = kRecordSize;
    m_data.hWnd = owner;
    m_data.uID = id;
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_data.uCallbackMessage = callbackMessage;
    CopyLimited(m_data.szTip, m_tooltip.c_str());

    m_signedOut.reset(LoadTrayImage(kSignedOutIcon));
    m_signedIn.reset(LoadTrayImage(kSignedInIcon));
    m_secondSignedIn.reset(LoadTrayImage(kSignedInIcon));
    m_data.hIcon = m_signedOut.get();

    SubscribeHostEvents(kEvents, this);
    return ::Shell_NotifyIconW(NIM_ADD, &m_data);
}

void CTrayIcon::Destroy() {
    if (m_data.hWnd) {
        m_data.uFlags = 0;
        ::Shell_NotifyIconW(NIM_DELETE, &m_data);
    }
    m_data.hIcon = nullptr;
    m_data.hWnd = nullptr;
    m_signedOut.reset();
    m_signedIn.reset();
    m_secondSignedIn.reset();
    UnsubscribeHostEvents(kEvents, this);
}

BOOL CTrayIcon::Remove() {
    if (!m_data.hWnd) return FALSE;
    m_data.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_DELETE, &m_data);
}

BOOL CTrayIcon::Add() {
    if (!m_data.hWnd) return FALSE;
    // A balloon shown earlier must not come back with the icon.
    m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    return ::Shell_NotifyIconW(NIM_ADD, &m_data);
}

HRESULT CTrayIcon::HandleEvent(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) {
    try {
        switch (code) {
        case VelEvent::TrayTooltip:
            OnTooltip(reinterpret_cast<const wchar_t*>(param1));
            break;
        case VelEvent::TrayImageState:
            OnImageState(param1);
            break;
        case VelEvent::TrayBalloon:
            return OnBalloon(reinterpret_cast<const wchar_t*>(param1), reinterpret_cast<const wchar_t*>(param2),
                             param3);
        default:
            break;
        }
    } catch (...) {
        // The bus belongs to the host: nothing may escape into it.
    }
    return S_OK;
}

void CTrayIcon::OnTooltip(const wchar_t* text) {
    m_tooltip = text;
    CopyLimited(m_data.szTip, m_tooltip.c_str());
    Modify(NIF_TIP);
}

void CTrayIcon::OnImageState(INT_PTR state) {
    m_lastImageState = state;
    switch (state) {
    case SignedOut:
        ShowImage(m_signedOut.get());
        break;
    case SignedIn:
        ShowImage(m_signedIn.get());
        break;
    case SecondSignedIn:
        ShowImage(m_secondSignedIn.get());
        break;
    case ClearState:
        m_stateWord = 0;
        break;
    default:
        break;
    }
}

HRESULT CTrayIcon::OnBalloon(const wchar_t* text, const wchar_t* title, INT_PTR timeoutMs) {
    if (!text || !title) return kIncompleteBalloon;
    CopyLimited(m_data.szInfo, text);
    CopyLimited(m_data.szInfoTitle, title);
    m_data.uTimeout = static_cast<UINT>(timeoutMs);
    m_data.dwInfoFlags = NIIF_INFO;
    Modify(NIF_INFO);
    return S_OK;
}

void CTrayIcon::ShowImage(HICON image) {
    m_data.hIcon = image;
    Modify(NIF_ICON);
}

BOOL CTrayIcon::Modify(UINT flags) {
    m_data.uFlags = flags;
    if (!m_data.hWnd) return FALSE;
    return ::Shell_NotifyIconW(NIM_MODIFY, &m_data);
}
