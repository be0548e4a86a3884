#pragma once
// One object of the suite's meetings library for one command: the library is
// loaded from the module's folder for as long as the object lives.
#include <windows.h>
#include <wrl/client.h>

#include "DLLHandle.h"
#include "ModuleState.h"
#include "SiblingObject.h"
#include "Trace.h"

template <typename Interface>
class CMeetingLibObject {
public:
    static constexpr const wchar_t* kLibrary = L"qkIstMt.dll";

    explicit CMeetingLibObject(REFCLSID classId) : m_library(kLibrary, ModuleState::Instance()) {
        if (FAILED(CreateSiblingObject(m_library.Handle(), classId, __uuidof(Interface),
                                       reinterpret_cast<void**>(m_object.GetAddressOf())))) {
            m_object.Reset();
            TraceText(8, m_library.Handle() ? "CMeetingLibObject: qkIstMt.dll refused to create the object"
                                            : "CMeetingLibObject: cannot load qkIstMt.dll");
        }
    }
    CMeetingLibObject(const CMeetingLibObject&) = delete;
    CMeetingLibObject& operator=(const CMeetingLibObject&) = delete;
    // The object goes before the library that holds its code.
    ~CMeetingLibObject() { m_object.Reset(); }

    [[nodiscard]] explicit operator bool() const noexcept { return m_object != nullptr; }
    Interface* operator->() const noexcept { return m_object.Get(); }

private:
    CDLLHandle m_library;
    Microsoft::WRL::ComPtr<Interface> m_object;
};

// Meeting operations may show windows of their own and take a while.
class CWaitCursor {
public:
    CWaitCursor() noexcept : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_previous); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
