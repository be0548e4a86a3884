#pragma once
// Message-map macros: each expands to one test in ProcessWindowMessage. Handlers
// set bHandled to FALSE to let the message go on to the next entry and, at the
// end of the map, to the default procedure.
#include <windows.h>

#define BEGIN_MSG_MAP(theClass)                                                                         \
public:                                                                                                 \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override { \
        BOOL bHandled = TRUE;                                                                           \
        (void)hWnd;                                                                                     \
        (void)bHandled;

// LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
#define MESSAGE_HANDLER(msg, func)                              \
    if (uMsg == (msg)) {                                        \
        bHandled = TRUE;                                        \
        lResult = func(uMsg, wParam, lParam, bHandled);         \
        if (bHandled) return TRUE;                              \
    }

// LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)          \
    if (uMsg >= (msgFirst) && uMsg <= (msgLast)) {              \
        bHandled = TRUE;                                        \
        lResult = func(uMsg, wParam, lParam, bHandled);         \
        if (bHandled) return TRUE;                              \
    }

// LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& bHandled)
#define COMMAND_ID_HANDLER(id, func)                                                                   \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                                 \
        bHandled = TRUE;                                                                                \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);       \
        if (bHandled) return TRUE;                                                                      \
    }

// LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& bHandled)
#define COMMAND_HANDLER(id, code, func)                                                                \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code)) {                     \
        bHandled = TRUE;                                                                                \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);       \
        if (bHandled) return TRUE;                                                                      \
    }

// LRESULT OnCommand(WORD notifyCode, WORD id, HWND control, BOOL& bHandled)
#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                                   \
    if (uMsg == WM_COMMAND && LOWORD(wParam) >= (idFirst) && LOWORD(wParam) <= (idLast)) {              \
        bHandled = TRUE;                                                                                \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);       \
        if (bHandled) return TRUE;                                                                      \
    }

// LRESULT OnNotify(int idCtrl, LPNMHDR header, BOOL& bHandled)
#define NOTIFY_CODE_HANDLER(notifyCode, func)                                                          \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->code == static_cast<UINT>(notifyCode)) { \
        bHandled = TRUE;                                                                                \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam), bHandled);          \
        if (bHandled) return TRUE;                                                                      \
    }

#define CHAIN_MSG_MAP(theBase)                                                         \
    if (theBase::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define END_MSG_MAP() \
    return FALSE;     \
    }
