#pragma once
// The host application object handed to IVelUIModule::InitModule, and the two
// callbacks a module registers with the host's message loop.
#include "QkInterface.h"

// Pre-translation of every message the host's loop takes from the queue.
class CMessageFilter {
public:
    virtual BOOL PreTranslateMessage(MSG* msg) = 0;
protected:
    ~CMessageFilter() = default;
};

// Called when the host's loop finds its queue empty; TRUE asks for another call.
class CIdleHandler {
public:
    virtual BOOL OnIdle() = 0;
protected:
    ~CIdleHandler() = default;
};

struct IVelModuleHost : public IUnknown {
    // 3: the host's full command line, program name first.
    virtual HRESULT STDMETHODCALLTYPE GetCommandLine(BSTR* commandLine) = 0;
    // 4: succeeds when the named start parameter is present; its value, possibly empty.
    virtual HRESULT STDMETHODCALLTYPE GetParameter(BSTR name, BSTR* value) = 0;
    QK_PLACEHOLDER_SLOT(5);
    QK_PLACEHOLDER_SLOT(6);
    // 7-10: joining the host's message loop.
    virtual HRESULT STDMETHODCALLTYPE AddMessageFilter(CMessageFilter* filter) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveMessageFilter(CMessageFilter* filter) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddIdleHandler(CIdleHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveIdleHandler(CIdleHandler* handler) = 0;
    QK_PLACEHOLDER_SLOT(11);
    // 12: asks the host to shut down with the given exit code.
    virtual HRESULT STDMETHODCALLTYPE CloseHost(LONG exitCode) = 0;
};
QK_DECLARE_UUID(IVelModuleHost, 0x5A0B3E71, 0x2C4D, 0x4E8A, 0x9B, 0x16, 0x7F, 0x3D, 0x21, 0xC8, 0x44, 0x0E)
