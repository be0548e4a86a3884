#include "ModuleRelease.h"

#include "Trace.h"
#include "UserProfile.h"
#include "SJUISetting.h"

void ReleaseProcessWideState() noexcept {
    try {
        CSJUISetting::ReleaseInstance();
    } catch (...) {
        // What could not be released stays; the rest still goes.
    }
    CUserProfile::Instance().Release();
    // Last: releasing the settings traces.
    Trace::ReleaseLibrary();
}
