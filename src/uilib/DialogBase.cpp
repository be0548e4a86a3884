#include "DialogBase.h"

#include "ModelessDialogs.h"
#include "ModuleState.h"

namespace {
HINSTANCE TemplateInstance() noexcept {
    HINSTANCE resource = ModuleState::ResourceInstance();
    return resource ? resource : ModuleState::Instance();
}
}  // namespace

CDialogBase::~CDialogBase() {
    // A modal dialog's window belongs to the loop that runs it: it only stops
    // reaching this object. A modeless one goes with the window base, and its
    // last messages no longer reach this object to take it off the list.
    if (!IsWindow()) return;
    if (m_modal)
        Detach();
    else
        ModelessDialogs::Remove(m_hWnd);
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

INT_PTR CALLBACK CDialogBase::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages before WM_INITDIALOG (the font, the creation) reach no object.
    if (message == WM_INITDIALOG) {
        if (auto* self = reinterpret_cast<CDialogBase*>(lParam)) self->Attach(hwnd);
    }
    // Only objects of this class have windows with this procedure.
    auto* self = static_cast<CDialogBase*>(FromHandle(hwnd));
    if (!self) return FALSE;
    return self->Dispatch(message, wParam, lParam);
}

INT_PTR CDialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const HWND hwnd = m_hWnd;
    LRESULT result = 0;
    const BOOL handled = RunMessageMap(hwnd, message, wParam, lParam, result);
    if (message == WM_NCDESTROY) {
        ModelessDialogs::Remove(hwnd);
        FinishWindow(hwnd);  // may delete this
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
