#pragma once
// The toolkit's message dialog: white, with the module's drop shadow around
// it. Derived maps chain this one first, so that the shadow follows the
// dialog before their own handlers run.
#include <windows.h>

#include "TesselShadow.h"
#include "WhiteBGDlg.h"

class CDlgMsg : public CWhiteBGDlg, public CTesselShadow {
public:
    // How far the shadow reaches beyond each edge of the dialog.
    static constexpr int kShadowExtent = 8;

    explicit CDlgMsg(UINT templateId) : CWhiteBGDlg(templateId), CTesselShadow(static_cast<CWindowBase&>(*this)) {}

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;
};
