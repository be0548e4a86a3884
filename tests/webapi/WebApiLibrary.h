#pragma once
// qkWebAPI.dll loaded from the output folder and used through its exports, the
// way the desktop client reaches it.
#include <windows.h>
#include <wrl/client.h>

#include <string>

#include "QkMeetingLibs.h"
#include "support/ModuleLibrary.h"

namespace webapitest {
class WebApiLibrary : public ModuleLibrary {
public:
    WebApiLibrary();
    [[nodiscard]] Microsoft::WRL::ComPtr<IQKWebApiSync> Create() const {
        return ModuleLibrary::Create<IQKWebApiSync>(CLSID_QKWebApiSync);
    }
};

// Starts a synchronisation and polls it until it stops running; the final status.
LONG Synchronise(IQKWebApiSync* sync, DATE from, DATE to);
// The answer of the meetings query for [from, to].
std::wstring Query(IQKWebApiSync* sync, DATE from, DATE to);
}  // namespace webapitest
