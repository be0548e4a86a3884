#pragma once
// The platform classification that decides whether registry access follows
// the console user (8: NT 6 and later).
#include <windows.h>

// 1, 2, 4: 9x 4.0/4.10/4.90; 3: NT below 5; 5: NT 5.0; 6: NT 5.1; 8: NT 6+; 0: other.
int ClassifyOSVersion(const OSVERSIONINFOW& version) noexcept;
// Cached once it is known; 0 is computed again at the next call.
int GetOSVersion() noexcept;
