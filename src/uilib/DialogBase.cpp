#include "DialogBase.h"

#include "ModuleState.h"

namespace {
HINSTANCE TemplateInstance() noexcept {
    HINSTANCE resource = ModuleState::ResourceInstance();
    return resource ? resource : ModuleState::Instance();
}
}  // namespace

CDialogBase::~CDialogBase() {
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        ::SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
        if (!m_modal) ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CDialogBase::DoModal(HWND owner) {
    m_modal = true;
    return ::DialogBoxParamW(TemplateInstance(), MAKEINTRESOURCEW(m_templateId), owner, &CDialogBase::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

HWND CDialogBase::Create(HWND owner) {
    m_modal = false;
    return ::CreateDialogParamW(TemplateInstance(), MAKEINTRESOURCEW(m_templateId), owner, &CDialogBase::DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

BOOL CDialogBase::EndDialog(INT_PTR result) noexcept {
    if (!IsWindow()) return FALSE;
    if (m_modal) return ::EndDialog(m_hWnd, result);
    return ::DestroyWindow(m_hWnd);
}

void CDialogBase::OnFinalMessage(HWND) {}

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CDialogBase*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        if (self) self->m_hWnd = hwnd;
    }
    auto* self = reinterpret_cast<CDialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR CDialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const HWND hwnd = m_hWnd;
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        handled = ProcessWindowMessage(hwnd, message, wParam, lParam, result);
    } catch (...) {
        handled = FALSE;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        if (m_hWnd == hwnd) m_hWnd = nullptr;
        OnFinalMessage(hwnd);  // may delete this
        return FALSE;
    }
    if (!handled) return FALSE;
    // WM_INITDIALOG and the dialog's colour messages answer through the return
    // value; everything else through DWLP_MSGRESULT.
    switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}
