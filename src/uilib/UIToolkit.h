#pragma once
// Start and end of the UI toolkit for one module: the system settings it
// changes, the localized calendar names the controls show, the libraries the
// controls need (GDI+ among them), and the toolkit setting read from the resource library.
#include <windows.h>

#include <array>
#include <string>

#include "UniqueHandle.h"

class CUIToolkit {
public:
    // `resourceLibrary` is the loaded resource library; `moduleFolder` ends with a backslash.
    static bool Initialize(HINSTANCE resourceLibrary, const std::wstring& moduleFolder);
    static void Uninitialize();
    static bool IsInitialized() noexcept;

    // Sunday first, as the calendar APIs number the days.
    static const std::wstring& DayName(int dayOfWeek);
    // January is 1.
    static const std::wstring& MonthName(int month);
    // The toolkit's integer setting (string IDS_TOOLKIT_SETTING of the resource library).
    static int ToolkitSetting() noexcept;

private:
    struct State {
        bool initialized = false;
        BOOL savedDragFullWindows = FALSE;
        std::array<std::wstring, 7> dayNames;
        std::array<std::wstring, 12> monthNames;
        int toolkitSetting = 0;
        UniqueHmodule richEdit;
        ULONG_PTR gdiplusToken = 0;
    };
    static State& Get();
};
