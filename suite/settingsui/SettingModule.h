#pragma once
// The suite's settings module: a small window with the signed-in account.
// One source serves the three libraries of the different kinds of site.
#include <windows.h>
#include <wrl/client.h>

#include "VelModuleHost.h"
#include "VelUIModule.h"
#include "shared/ComServer.h"

class CSettingModule final : public CSingleInterfaceObject<IVelUIModule>, public CServerObject {
public:
    static constexpr const wchar_t* kWindowClass = L"Vel_QkSettingsWnd";
    enum : int { kSiteText = 1101, kUserText = 1102 };

    CSettingModule() = default;

    // IVelUIModule
    HRESULT STDMETHODCALLTYPE InitModule(IVelModuleHost* host, HWND owner) override;
    BOOL STDMETHODCALLTYPE IsModuleClosed() override { return !m_window || !::IsWindow(m_window); }
    HWND STDMETHODCALLTYPE GetModuleWindow() override { return m_window; }
    HRESULT STDMETHODCALLTYPE ShowModule(BOOL show) override;
    HRESULT STDMETHODCALLTYPE UninitModule() override;

    static void UnregisterWindowClass() noexcept;

private:
    ~CSettingModule() override;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();

    Microsoft::WRL::ComPtr<IVelModuleHost> m_host;
    HWND m_window = nullptr;
};
