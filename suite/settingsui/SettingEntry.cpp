// qkONIUI.dll, qkONIUITra.dll and qkONIUIOri.dll: the suite's settings module.
#include <windows.h>

#include "settingsui/SettingModule.h"

QK_UI_MODULE_LIBRARY(CSettingModule, CLSID_QKSettingModule)
