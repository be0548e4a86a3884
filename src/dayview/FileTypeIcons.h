#pragma once
// The small pictures the detail bubble shows before each attached file: one
// per kind of file, chosen by the name's extension.
#include <windows.h>

namespace FileTypeIcons {
enum : UINT {
    kGenericImage = 600,
    kDocumentImage = 601,
    kSpreadsheetImage = 602,
    kPresentationImage = 603,
    kPdfImage = 604,
    kPictureImage = 605,
    kArchiveImage = 606,
    kMediaImage = 607,
};

// The picture for a file name, path or address (the extension after the last
// separator decides, without regard to case); unknown kinds get the generic page.
UINT ImageForFile(const wchar_t* name);

// A 16 x 16 icon drawn from picture `imageId` of the resource library, or null.
// The caller destroys it.
HICON CreateIcon(UINT imageId);
}  // namespace FileTypeIcons
