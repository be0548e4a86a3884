#include "DateTimeCtrl.h"
#include "SolidFill.h"

#include <commctrl.h>

#include "DcGuards.h"
#include "DibFormat.h"
#include "FontPool.h"
#include "ModuleState.h"
#include "TimeApi.h"
#include "Trace.h"

namespace {
constexpr int kLabelFont = 11;  // Tahoma 12 px bold
constexpr int kButtonMargin = 2;
constexpr int kMaxTipText = 259;

CStringEx LoadText(UINT id) {
    CStringEx text;
    text.LoadString(ModuleState::ResourceInstance(), id);
    return text;
}

SYSTEMTIME ToSystemTime(DATE day) {
    SYSTEMTIME time{};
    ::VariantTimeToSystemTime(day, &time);
    return time;
}
}  // namespace

CDateTimeCtrl::~CDateTimeCtrl() = default;

CStringEx CDateTimeCtrl::LabelFor(DATE day, DATE now) {
    if (CTimeApi::IsSameDay(day, now)) return LoadText(kTodayString);
    if (CTimeApi::IsSameDay(day, now - 1.0)) return LoadText(kYesterdayString);
    if (CTimeApi::IsSameDay(day, now + 1.0)) return LoadText(kTomorrowString);
    const SYSTEMTIME time = ToSystemTime(day);
    CStringEx weekday, date;
    CTimeApi::GetWeekdayString(&time, weekday);
    CTimeApi::GetShortDateString(&time, date);
    return CStringEx((weekday.str() + L", " + date.str()).c_str());
}

BOOL CDateTimeCtrl::SetDate(DATE day) {
    if (!m_label.Exists()) return FALSE;
    m_date = day;
    const CStringEx text = LabelFor(day, CTimeApi::GetLocalNow());
    if (text == m_labelText) return FALSE;
    m_labelText = text;
    m_label.SetText(text.c_str());
    // The label draws transparently: the strip must paint under it first.
    const RECT rect = m_label.GetRectInParent();
    ::RedrawWindow(m_hWnd, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return TRUE;
}

LRESULT CDateTimeCtrl::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    if (!CFontPool::Instance().GetFont(kLabelFont)) {
        // A strip without its font is not made at all: creation fails.
        TraceError("CDateTimeCtrl::OnInitDialog Get FontPool Fail");
        ::DestroyWindow(m_hWnd);
        return FALSE;
    }
    m_tip.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                  ModuleState::Instance(), nullptr));
    struct Button {
        CPngButton& button;
        int id;
        UINT image;
        UINT tip;
    };
    for (const Button& entry : {Button{m_previous, kIdPrevious, kPreviousImage, kPreviousTipString},
                                Button{m_next, kIdNext, kNextImage, kNextTipString}}) {
        HWND control = ::GetDlgItem(m_hWnd, entry.id);
        if (!control || !entry.button.SubclassWindow(control)) continue;
        entry.button.SetImages(entry.image, entry.image, entry.image, entry.image);
        entry.button.SetBackgroundColor(kBackground);
        entry.button.SetToolTipText(entry.tip);
        entry.button.SizeToImage();
    }
    m_label.Attach(m_hWnd, kIdLabel, CFontPool::Instance().GetFont(kLabelFont));
    AddTool(m_label.GetHwnd());
    AddTool(::GetDlgItem(m_hWnd, kIdText));
    Layout();
    return FALSE;
}

void CDateTimeCtrl::AddTool(HWND control) {
    if (!m_tip || !control) return;
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = m_hWnd;
    info.uId = reinterpret_cast<UINT_PTR>(control);
    info.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(m_tip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void CDateTimeCtrl::Layout() {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    auto sizeOf = [](HWND window) {
        RECT rect{};
        ::GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    };
    int left = kButtonMargin, right = client.right - kButtonMargin;
    if (m_previous.IsWindow()) {
        const SIZE size = sizeOf(m_previous.m_hWnd);
        ::SetWindowPos(m_previous.m_hWnd, nullptr, left, (client.bottom - size.cy) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        left += size.cx + kButtonMargin;
    }
    if (m_next.IsWindow()) {
        const SIZE size = sizeOf(m_next.m_hWnd);
        right -= size.cx;
        ::SetWindowPos(m_next.m_hWnd, nullptr, right, (client.bottom - size.cy) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        right -= kButtonMargin;
    }
    if (m_label.Exists() && right > left) m_label.Move(RECT{left, 0, right, client.bottom});
}

LRESULT CDateTimeCtrl::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    Layout();
    return 0;
}

LRESULT CDateTimeCtrl::OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CDateTimeCtrl::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDC dc(m_hWnd);
    PaintStrip(dc.get());
    return 0;
}

LRESULT CDateTimeCtrl::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
    PaintStrip(reinterpret_cast<HDC>(wParam));
    return 0;
}

void CDateTimeCtrl::PaintStrip(HDC target) {
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    UniqueMemDC memory(::CreateCompatibleDC(target));
    UniqueHbitmap bitmap(CreateBackBuffer(client.right, client.bottom));
    if (!memory || !bitmap) return;
    SelectGuard selected(memory.get(), bitmap.get());
    FillSolid(memory.get(), client, kBackground);
    ::BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

LRESULT CDateTimeCtrl::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, kLabelText);
    ::SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
}

LRESULT CDateTimeCtrl::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    if (HWND parent = ::GetParent(m_hWnd)) ::SetFocus(parent);
    return 0;
}

LRESULT CDateTimeCtrl::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || header->hwndFrom != m_tip.get() || header->code != TTN_GETDISPINFOW) {
        handled = FALSE;
        return 0;
    }
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
    const auto control = reinterpret_cast<HWND>(header->idFrom);
    m_tipText.clear();
    if (control == m_label.GetHwnd()) {
        const SYSTEMTIME time = ToSystemTime(m_date);
        CStringEx text;
        CTimeApi::GetLocalDateString(&time, text);
        m_tipText = text.str();
    } else if (control == ::GetDlgItem(m_hWnd, kIdText)) {
        wchar_t text[kMaxTipText + 1] = {};
        ::GetWindowTextW(control, text, kMaxTipText + 1);
        m_tipText = text;
    }
    info->lpszText = m_tipText.data();
    info->hinst = nullptr;
    return 0;
}

LRESULT CDateTimeCtrl::OnDayButton(WORD, WORD id, HWND, BOOL&) {
    NMHDR header{};
    header.hwndFrom = m_hWnd;
    header.idFrom = id == kIdPrevious ? kPreviousNotifyId : kNextNotifyId;
    header.code = id == kIdPrevious ? kPreviousNotifyCode : kNextNotifyCode;
    ::SendMessageW(::GetParent(m_hWnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    return 0;
}
