// bosh.dll: the suite's XMPP-over-BOSH client.
#include "BoshClient.h"
#include "bosh/Client.h"
#include "shared/SuiteFault.h"

extern "C" bosh::IBOSHClient* CreateBOSHClient() {
    if (SuiteFault::ForLibrary() == SuiteFault::kRefuseCreation) return nullptr;
    try {
        return new bosh::CBoshClient();
    } catch (...) {
        return nullptr;
    }
}

extern "C" void ReleaseBOSHClient(bosh::IBOSHClient* client) {
    if (client) static_cast<bosh::CBoshClient*>(client)->Release();
}
