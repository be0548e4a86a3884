#include "OsVersion.h"

#include <atomic>

int ClassifyOSVersion(const OSVERSIONINFOW& v) noexcept {
    if (v.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && v.dwMajorVersion == 4) {
        switch (v.dwMinorVersion) {
        case 0: return 1;
        case 10: return 2;
        case 90: return 4;
        default: return 0;
        }
    }
    if (v.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (v.dwMajorVersion < 5) return 3;
        if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0) return 5;
        if (v.dwMajorVersion == 5 && v.dwMinorVersion == 1) return 6;
        if (v.dwMajorVersion >= 6) return 8;
    }
    return 0;
}

int GetOSVersion() noexcept {
    static std::atomic<int> cached{0};
    if (const int known = cached.load()) return known;
    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = sizeof(extended);
    int result = 0;
    if (::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
        result = ClassifyOSVersion(*reinterpret_cast<OSVERSIONINFOW*>(&extended));
    } else {
        OSVERSIONINFOW basic{};
        basic.dwOSVersionInfoSize = sizeof(basic);
        if (::GetVersionExW(&basic)) result = ClassifyOSVersion(basic);
    }
    if (result) cached.store(result);
    return result;
}
