// The end of the phone bridge at shut-down.
#include "MainFrame.h"

#include "Trace.h"
#include "IPPhoneBoshPorxy.h"

void CMainFrame::ReleaseInstance() {
    CIPPhoneBoshPorxy* bridge = CIPPhoneBoshPorxy::Instance();
    if (!bridge) return;
    // The server should learn that we go; an unreachable one must not hold
    // the shut-down for longer than the wait.
    if (bridge->SessionStarted()) {
        TraceText(2, "static VOID ReleaseInstance:: Wait bosh logoff");
        bridge->BeginReleaseLogOff();
        const DWORD wait = ::WaitForSingleObject(bridge->LogoffEvent(), kPhoneLogoffWaitMs);
        if (wait == WAIT_OBJECT_0)
            TraceText(2, "static VOID ReleaseInstance:: WaitForSingleObject == WAIT_OBJECT_0");
        else if (wait == WAIT_TIMEOUT)
            TraceText(2, "static VOID ReleaseInstance:: WaitForSingleObject == WAIT_TIMEOUT");
    }
    CIPPhoneBoshPorxy::DeleteInstance();
}
