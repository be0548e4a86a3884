#pragma once
// The desktop client's windows as another process sees them.
#include <windows.h>

#include <string>
#include <vector>

#include "ResourceIds.h"

namespace testsupport {
inline constexpr wchar_t kClientFrameClass[] = L"QK_SJ_MainFrame_3DD8BA03-E8BC-421c-961F-4936E19F010F";
inline constexpr int kMeetingButton = IDC_ITEM_BUTTON;

// The visible meeting item windows of the frame: dialogs that hold a meeting button.
std::vector<HWND> VisibleMeetingItems(HWND frame);
}  // namespace testsupport
