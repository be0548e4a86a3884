#pragma once
// The small pictures the detail bubble shows before each attached file: one
// per kind of file, chosen by the name's extension.
#include <windows.h>
#include "ResourceIds.h"

namespace FileTypeIcons {
enum : UINT {
    kGenericImage = IDIMG_FILE_GENERIC,
    kDocumentImage = IDIMG_FILE_DOCUMENT,
    kSpreadsheetImage = IDIMG_FILE_SPREADSHEET,
    kPresentationImage = IDIMG_FILE_PRESENTATION,
    kPdfImage = IDIMG_FILE_PDF,
    kPictureImage = IDIMG_FILE_PICTURE,
    kArchiveImage = IDIMG_FILE_ARCHIVE,
    kMediaImage = IDIMG_FILE_MEDIA,
};

// The picture for a file name, path or address (the extension after the last
// separator decides, without regard to case); unknown kinds get the generic page.
UINT ImageForFile(const wchar_t* name);

// A 16 x 16 icon drawn from picture `imageId` of the resource library, or null.
// The caller destroys it.
HICON CreateIcon(UINT imageId);
}  // namespace FileTypeIcons
