#pragma once
// qkWebAPI.dll loaded from the output folder and used through its exports, the
// way the desktop client reaches it.
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "QkMeetingLibs.h"
#include "UniqueHandle.h"

namespace webapitest {
class WebApiLibrary {
public:
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

    WebApiLibrary();
    [[nodiscard]] bool Loaded() const noexcept { return GetClassObject && CanUnloadNow; }
    [[nodiscard]] Microsoft::WRL::ComPtr<IQKWebApiSync> Create() const;

    GetClassObjectFn GetClassObject = nullptr;
    CanUnloadNowFn CanUnloadNow = nullptr;

private:
    UniqueHmodule m_library;
};

// Starts a synchronisation and polls it until it stops running; the final status.
LONG Synchronise(IQKWebApiSync* sync, DATE from, DATE to);
// The answer of the meetings query for [from, to].
std::wstring Query(IQKWebApiSync* sync, DATE from, DATE to);
}  // namespace webapitest
