#include "BenchFrame.h"

#include "SiblingObject.h"

namespace bench {
BenchFrame::BenchFrame() : m_library(L"qkWebAPI.dll", ::GetModuleHandleW(nullptr)) {
    // A message-only window: posted refresh commands land there and are dropped.
    m_window.reset(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
}

BenchFrame::~BenchFrame() { m_sync.Reset(); }

HRESULT BenchFrame::GetSyncObject(IQKWebApiSync** sync, BOOL reset) {
    if (!sync) return E_INVALIDARG;
    *sync = nullptr;
    if (reset) m_sync.Reset();
    if (!m_sync) {
        const HRESULT hr = CreateSiblingObject(m_library.Handle(), CLSID_QKWebApiSync, __uuidof(IQKWebApiSync),
                                               reinterpret_cast<void**>(m_sync.GetAddressOf()));
        if (FAILED(hr)) return hr;
    }
    return m_sync.CopyTo(sync);
}

BOOL BenchFrame::Synchronise() {
    Microsoft::WRL::ComPtr<IQKWebApiSync> sync;
    if (FAILED(GetSyncObject(sync.GetAddressOf(), FALSE)) || FAILED(sync->StartSync(0.0, 0.0, nullptr)))
        return FALSE;
    LONG status = WebApiSyncStatus::Running;
    const ULONGLONG deadline = ::GetTickCount64() + 10000;
    while (SUCCEEDED(sync->GetSyncStatus(&status)) && status == WebApiSyncStatus::Running && ::GetTickCount64() < deadline)
        ::Sleep(1);
    return status == WebApiSyncStatus::Succeeded;
}
}  // namespace bench
