#pragma once
// The registry root of the console user. A process in the user's own session
// uses HKEY_CURRENT_USER; a service or system process loads the profile of the
// user signed in at the console and uses that.
#include <windows.h>

#include "UniqueHandle.h"

class CUserProfile {
public:
    static CUserProfile& Instance();

    // Resolved on first use and kept for the life of the process.
    HKEY RootKey();
    // The console user's logon token (kept by this object), or null.
    HANDLE GetCurrentLogonUserToken();

    virtual ~CUserProfile();
    CUserProfile(const CUserProfile&) = delete;
    CUserProfile& operator=(const CUserProfile&) = delete;

    // Whether the process token carries the INTERACTIVE group; true when it
    // cannot be told.
    static bool IsInteractiveProcess();

private:
    CUserProfile() = default;
    HKEY LoadConsoleUserProfile();

    HKEY m_rootKey = nullptr;
    UniqueKernelHandle m_token;
};
