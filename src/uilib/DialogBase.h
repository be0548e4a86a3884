#pragma once
// Dialogs from templates of the resource library. A derived class names its
// template with `enum { IDD = ... }` and passes it to the constructor; the
// message map is the same as for windows.
#include <windows.h>

#include "MessageMap.h"

class CDialogBase {
public:
    explicit CDialogBase(UINT templateId) noexcept : m_templateId(templateId) {}
    CDialogBase(const CDialogBase&) = delete;
    CDialogBase& operator=(const CDialogBase&) = delete;
    virtual ~CDialogBase();

    // Modal: returns the EndDialog code, or -1 when the template is missing.
    INT_PTR DoModal(HWND owner);
    // Modeless: returns the dialog window or null.
    HWND Create(HWND owner);
    BOOL EndDialog(INT_PTR result) noexcept;

    [[nodiscard]] bool IsWindow() const noexcept { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    HWND m_hWnd = nullptr;

protected:
    // TRUE when handled; `result` becomes the dialog procedure's message result.
    virtual BOOL ProcessWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    virtual void OnFinalMessage(HWND hwnd);
    // For dialogs that choose one of several templates before Create.
    void SetTemplateId(UINT templateId) noexcept { m_templateId = templateId; }

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;

    UINT m_templateId;
    bool m_modal = false;
};
