#pragma once
// The registry root of the console user. A process in the user's own session
// uses HKEY_CURRENT_USER; a service or system process loads the profile of the
// user signed in at the console and uses that.
#include <windows.h>

#include "UniqueHandle.h"

class CUserProfile {
public:
    static CUserProfile& Instance();

    // Resolved on first use and kept until Release.
    HKEY RootKey();
    // The console user's logon token (kept by this object), or null.
    HANDLE GetCurrentLogonUserToken();

    // Unloads a profile this object loaded and frees what it holds; the next
    // RootKey resolves afresh. Called when the module stops, never under the
    // loader lock: unloading a profile calls into other libraries.
    void Release() noexcept;

    virtual ~CUserProfile();
    CUserProfile(const CUserProfile&) = delete;
    CUserProfile& operator=(const CUserProfile&) = delete;

    // Whether the process token carries the INTERACTIVE group; true when it
    // cannot be told.
    static bool IsInteractiveProcess();

private:
    CUserProfile() = default;
    HKEY LoadConsoleUserProfile();
    // The platform library, loaded from the system folder on first use.
    HMODULE SystemLibrary(UniqueHmodule& library, const wchar_t* name);

    HKEY m_rootKey = nullptr;
    UniqueKernelHandle m_token;
    // Owned here, not by statics of their own: they must outlive the profile
    // that is unloaded through them.
    UniqueHmodule m_userenv;
    UniqueHmodule m_advapi;
};
