#include "ClassTable.h"

#include <new>

#include "IPCSrvUIModule.h"
#include "SJUIModule.h"

namespace {
// Neither class can be aggregated.
template <typename T>
HRESULT CreateModuleObject(IUnknown* outer, CUnknown** object) {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* created = new (std::nothrow) T(nullptr);
    if (!created) return E_OUTOFMEMORY;
    *object = created;
    return S_OK;
}
}  // namespace

const ClassTableRow g_classTable[] = {
    {&CLSID_DesktopClientModule, &CreateModuleObject<CSJUIModule>, L"QK.UIModule.DesktopClient.0", L"qkSJUI 0.0.0.3",
     L"qkSJUI 0.0.0"},
    {&CLSID_VelIPCModule, &CreateModuleObject<CQKIPCSrvUIModule>, L"QK.UIModule.VelIPC.0", L"QKIPC 0.0.0.3",
     L"QKIPC 0.0.0"},
};
const int g_classTableCount = static_cast<int>(std::size(g_classTable));

std::vector<ComClassRegistration> ClassRegistrations() {
    std::vector<ComClassRegistration> rows;
    for (const ClassTableRow& row : g_classTable) rows.push_back(row.Registration());
    return rows;
}
