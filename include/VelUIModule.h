#pragma once
// The interface through which a host drives a user-interface module of the suite.
#include "QkInterface.h"

struct IVelModuleHost;

struct IVelUIModule : public IUnknown {
    // 3: host application object and the owner window of the loading module (not read).
    virtual HRESULT STDMETHODCALLTYPE InitModule(IVelModuleHost* host, HWND owner) = 0;
    // 4: TRUE when the module has no top-level window or it no longer exists.
    virtual BOOL STDMETHODCALLTYPE IsModuleClosed() = 0;
    // 5: the module's top-level window, or null.
    virtual HWND STDMETHODCALLTYPE GetModuleWindow() = 0;
    // 6: 1 asks the module to show its window.
    virtual HRESULT STDMETHODCALLTYPE ShowModule(BOOL show) = 0;
    // 7: always S_OK.
    virtual HRESULT STDMETHODCALLTYPE UninitModule() = 0;
};
QK_DECLARE_UUID(IVelUIModule, 0x952C1400, 0x49E6, 0x445D, 0x8F, 0xDF, 0x49, 0x3E, 0x3C, 0x95, 0x76, 0xC1)

// The suite's login module (qkLogin.dll).
inline constexpr CLSID CLSID_QKLoginModule = {0x0A71105A, 0x90CA, 0x4304, {0x91, 0x3B, 0x13, 0xB9, 0xA4, 0x52, 0x93, 0x79}};
// The suite's settings modules (qkONIUI.dll, qkONIUITra.dll, qkONIUIOri.dll), one per kind of site.
inline constexpr CLSID CLSID_QKSettingModule = {0x06C76266, 0xE780, 0x49E2, {0x88, 0xD8, 0x62, 0xC4, 0xFA, 0x83, 0xA2, 0x06}};
