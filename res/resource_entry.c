/* The resource library runs no code; this entry point only accepts loading. */
#include <windows.h>

BOOL WINAPI ResourceLibraryEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
