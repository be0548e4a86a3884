#pragma once
// Dialogs from templates of the resource library. A derived class names its
// template with `enum { IDD = ... }` and passes it to the constructor; the
// message map, the guarded dispatch and the clean-up after WM_NCDESTROY are
// the window base's.
#include <windows.h>

#include "WindowBase.h"

class CDialogBase : public CWindowBase {
public:
    explicit CDialogBase(UINT templateId) noexcept : m_templateId(templateId) {}
    ~CDialogBase() override;

    // Modal: returns the EndDialog code, or -1 when the template is missing.
    INT_PTR DoModal(HWND owner);
    // Modeless: returns the dialog window or null.
    HWND Create(HWND owner);
    BOOL EndDialog(INT_PTR result) noexcept;

protected:
    // For dialogs that choose one of several templates before Create.
    void SetTemplateId(UINT templateId) noexcept { m_templateId = templateId; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    UINT m_templateId;
    bool m_modal = false;
};
