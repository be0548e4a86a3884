#include "UIToolkit.h"

#include "ResourceImageCache.h"

#include <objidl.h>

#include <gdiplus.h>

#include <cwchar>

#include "ZvnSkinMgrUILib.h"
#include "WindowBase.h"
#include "ResourceIds.h"

namespace {
const UINT kToolkitSettingString = IDS_TOOLKIT_SETTING;
const wchar_t kSkinLibrary[] = L"qksjres.DLL";

std::wstring FormatDate(const SYSTEMTIME& day, const wchar_t* picture) {
    wchar_t buffer[64] = {};
    if (::GetDateFormatW(LOCALE_USER_DEFAULT, 0, &day, picture, buffer, static_cast<int>(std::size(buffer))) == 0)
        return {};
    return buffer;
}
}  // namespace

CUIToolkit::State& CUIToolkit::Get() {
    static State state;
    return state;
}

bool CUIToolkit::Initialize(HINSTANCE resourceLibrary, const std::wstring& moduleFolder) {
    State& state = Get();
    if (state.initialized) return true;

    ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &state.savedDragFullWindows, 0);

    // 2006-01-01 was a Sunday: the seven days from it give the day names in
    // calendar order, and the first of each month of that year the month names.
    SYSTEMTIME day{};
    day.wYear = 2006;
    day.wMonth = 1;
    for (int i = 0; i < 7; ++i) {
        day.wDay = static_cast<WORD>(1 + i);
        day.wDayOfWeek = static_cast<WORD>(i);
        state.dayNames[i] = FormatDate(day, L"ddd");
    }
    day.wDay = 1;
    for (int month = 1; month <= 12; ++month) {
        day.wMonth = static_cast<WORD>(month);
        state.monthNames[month - 1] = FormatDate(day, L"MMM");
    }

    state.richEdit.reset(::LoadLibraryW(L"RICHED20.DLL"));

    // Every picture of the module is drawn through GDI+; without it the
    // windows still work, only without their images.
    Gdiplus::GdiplusStartupInput gdiplusInput;
    if (Gdiplus::GdiplusStartup(&state.gdiplusToken, &gdiplusInput, nullptr) != Gdiplus::Ok) state.gdiplusToken = 0;

    wchar_t setting[32] = {};
    if (resourceLibrary && ::LoadStringW(resourceLibrary, kToolkitSettingString, setting, 32) > 0)
        state.toolkitSetting = static_cast<int>(std::wcstol(setting, nullptr, 10));
    // Without a skin the controls draw with their built-in colours and no bitmaps.
    if (CZvnSkinMgrUILib* skin = GetZvnSkinMgr()) skin->LoadSkin((moduleFolder + kSkinLibrary).c_str());

    state.initialized = true;
    return true;
}

void CUIToolkit::Uninitialize() {
    State& state = Get();
    if (!state.initialized) return;
    ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, state.savedDragFullWindows, nullptr, 0);
    state.richEdit.reset();
    ReleaseZvnSkinMgr();
    // Every class of the module's windows, image buttons and shadows among them.
    CWindowBase::UnregisterClasses();
    CResourceImageCache::Clear();
    if (state.gdiplusToken != 0) Gdiplus::GdiplusShutdown(state.gdiplusToken);
    state.gdiplusToken = 0;
    state.initialized = false;
}

bool CUIToolkit::IsInitialized() noexcept { return Get().initialized; }

const std::wstring& CUIToolkit::DayName(int dayOfWeek) { return Get().dayNames.at(static_cast<size_t>(dayOfWeek)); }

const std::wstring& CUIToolkit::MonthName(int month) { return Get().monthNames.at(static_cast<size_t>(month - 1)); }

int CUIToolkit::ToolkitSetting() noexcept { return Get().toolkitSetting; }
