#include "FileTypeIcons.h"

#include <objidl.h>

#include <gdiplus.h>

#include <cwctype>
#include <string>

#include "VelGdiplus.h"

namespace FileTypeIcons {
namespace {
constexpr int kIconSize = 16;

struct Kind {
    const wchar_t* extension;
    UINT image;
};
constexpr Kind kKinds[] = {
    {L"doc", kDocumentImage},      {L"docx", kDocumentImage},     {L"rtf", kDocumentImage},
    {L"odt", kDocumentImage},      {L"txt", kDocumentImage},      {L"xls", kSpreadsheetImage},
    {L"xlsx", kSpreadsheetImage},  {L"csv", kSpreadsheetImage},   {L"ods", kSpreadsheetImage},
    {L"ppt", kPresentationImage},  {L"pptx", kPresentationImage}, {L"pps", kPresentationImage},
    {L"ppsx", kPresentationImage}, {L"odp", kPresentationImage},  {L"pdf", kPdfImage},
    {L"png", kPictureImage},       {L"jpg", kPictureImage},       {L"jpeg", kPictureImage},
    {L"gif", kPictureImage},       {L"bmp", kPictureImage},       {L"tif", kPictureImage},
    {L"tiff", kPictureImage},      {L"zip", kArchiveImage},       {L"rar", kArchiveImage},
    {L"7z", kArchiveImage},        {L"gz", kArchiveImage},        {L"tar", kArchiveImage},
    {L"mp3", kMediaImage},         {L"wav", kMediaImage},         {L"wma", kMediaImage},
    {L"mp4", kMediaImage},         {L"avi", kMediaImage},         {L"mov", kMediaImage},
    {L"wmv", kMediaImage},
};
}  // namespace

UINT ImageForFile(const wchar_t* name) {
    if (!name) return kGenericImage;
    std::wstring text(name);
    // An address may carry a query or a fragment after the file's name.
    text = text.substr(0, text.find_first_of(L"?#"));
    const size_t separator = text.find_last_of(L"\\/");
    const size_t dot = text.rfind(L'.');
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) return kGenericImage;
    std::wstring extension = text.substr(dot + 1);
    for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
    for (const Kind& kind : kKinds)
        if (extension == kind.extension) return kind.image;
    return kGenericImage;
}

HICON CreateIcon(UINT imageId) {
    const std::unique_ptr<Gdiplus::Image> image = CVelGdiplus::LoadResourceImage(imageId);
    if (!image) return nullptr;
    Gdiplus::Bitmap canvas(kIconSize, kIconSize, PixelFormat32bppARGB);
    if (canvas.GetLastStatus() != Gdiplus::Ok) return nullptr;
    {
        Gdiplus::Graphics graphics(&canvas);
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        if (graphics.DrawImage(image.get(), 0, 0, kIconSize, kIconSize) != Gdiplus::Ok) return nullptr;
    }
    HICON icon = nullptr;
    if (canvas.GetHICON(&icon) != Gdiplus::Ok) return nullptr;
    return icon;
}
}  // namespace FileTypeIcons
