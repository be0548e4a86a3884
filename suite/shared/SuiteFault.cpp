#include "shared/SuiteFault.h"

#include <objbase.h>

#include "Registry.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
SuiteFault::Mode Read(const wchar_t* name) noexcept {
    DWORD value = 0;
    if (!CRegistry::ReadDword(HKEY_CURRENT_USER, SuiteFault::kKey, name, &value)) return SuiteFault::kNone;
    return value == SuiteFault::kRefuseCreation || value == SuiteFault::kFailEveryCall
               ? static_cast<SuiteFault::Mode>(value)
               : SuiteFault::kNone;
}
}  // namespace

namespace SuiteFault {
Mode ForLibrary() noexcept {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return kNone;
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') name = p + 1;
    return Read(name);
}

Mode ForClass(REFCLSID classId) noexcept {
    wchar_t text[40] = {};
    if (::StringFromGUID2(classId, text, 40) > 0)
        if (const Mode mode = Read(text); mode != kNone) return mode;
    return ForLibrary();
}
}  // namespace SuiteFault
