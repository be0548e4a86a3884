#include "ZvnSkinMgrUILib.h"

#include <iterator>
#include <mutex>
#include <new>
#include <utility>

#include "BitmapRegion.h"
#include "SkinColor.h"
#include "ZvnSkinLoadResDll.h"
#include "ResourceIds.h"

namespace {
const COLORREF kNotLoaded = 0xFFFFFFFF;
const COLORREF kMagenta = RGB(255, 0, 255);
// Colour slots a skin switch reloads; the others keep what they read first.
const int kColorsReloadedOnClear = 3;

struct BitmapName {
    UINT id;
    const wchar_t* name;
};
// First match wins.
const BitmapName kBitmapNames[] = {
    {CZvnSkinMgrUILib::kCaptionButtons, L"capbuttons.bmp"},
    {CZvnSkinMgrUILib::kBorderTop, L"border_top.bmp"},
    {CZvnSkinMgrUILib::kBorderLeft, L"border_left.bmp"},
    {CZvnSkinMgrUILib::kBorderRight, L"border_right.bmp"},
    {CZvnSkinMgrUILib::kBorderBottom, L"border_bot.bmp"},
    {32001, L"buttons_dialog_backgroundonly_high.bmp"},
    {32000, L"buttons_dialog_backgroundonly_low.bmp"},
    {32112, L"panel_resize.bmp"},
    {32115, L"\\fit\\newfit_def_btn_bk.bmp"},
    {32117, L"\\fit\\newfit_def_btn_bk_checked.bmp"},
    {32113, L"\\fit\\btn_radio.bmp"},
    {32114, L"\\fit\\btn_check.bmp"},
    {32116, L"\\fit\\newfit_def_group_bk.bmp"},
    // Shares the group background's number, so it is never found by number.
    {32116, L"\\fit\\newfit_def_combobox_arrow.bmp"},
};

const COLORREF kDefaultColors[CZvnSkinMgrUILib::kColorCount] = {
    0x333333,          // text
    0x979797,          // gray text
    RGB(0, 102, 204),  // link
    RGB(26, 138, 255), // link, hot
    RGB(191, 191, 191),// border
    RGB(255, 255, 255),// background
    RGB(229, 241, 251),// selection
};

std::mutex g_instanceLock;
CZvnSkinMgrUILib* g_instance = nullptr;
}  // namespace

CZvnSkinMgrUILib::CZvnSkinMgrUILib() { m_colors.fill(kNotLoaded); }

CZvnSkinMgrUILib::~CZvnSkinMgrUILib() { CZvnSkinMgrUILib::Clear(); }

void CZvnSkinMgrUILib::Clear() {
    for (auto& icon : m_captionIcons) icon.reset();
    for (int i = 0; i < kColorsReloadedOnClear; ++i) m_colors[static_cast<size_t>(i)] = kNotLoaded;
    // The frame shapes stay until the next skin's border bitmaps replace them.
    CZvnSkinMgr::Clear();
}

const wchar_t* CZvnSkinMgrUILib::GetBitmapName(UINT id) {
    for (const BitmapName& entry : kBitmapNames)
        if (entry.id == id) return entry.name;
    return nullptr;
}

// Called with the cache lock held, which also guards the shapes.
void CZvnSkinMgrUILib::OnBitmapLoaded(UINT id, HBITMAP bitmap) {
    if (id != kBorderTop && id != kBorderBottom) return;
    BITMAP info{};
    if (::GetObjectW(bitmap, sizeof(info), &info) == 0) return;
    UniqueHrgn shape(CreateRegionFromBitmap(bitmap, kMagenta));
    if (!shape) return;
    const int halfWidth = info.bmWidth / 2;
    const int halfHeight = info.bmHeight / 2;
    const RECT halves[2] = {{0, 0, halfWidth, halfHeight}, {halfWidth, 0, info.bmWidth, halfHeight}};
    auto& target = id == kBorderTop ? m_topRegions : m_bottomRegions;
    for (size_t i = 0; i < 2; ++i) {
        UniqueHrgn cut(::CreateRectRgnIndirect(&halves[i]));
        if (cut) ::CombineRgn(cut.get(), cut.get(), shape.get(), RGN_AND);
        target[i] = std::move(cut);
    }
}

UniqueHrgn CZvnSkinMgrUILib::CopyRegion(const UniqueHrgn& region) const {
    CZvnUIAutoLock lock(CacheLock());
    if (!region) return {};
    UniqueHrgn copy(::CreateRectRgn(0, 0, 0, 0));
    if (copy && ::CombineRgn(copy.get(), region.get(), nullptr, RGN_COPY) == ERROR) copy.reset();
    return copy;
}

COLORREF CZvnSkinMgrUILib::DefaultColor(ColorSlot slot) noexcept {
    return slot >= 0 && slot < kColorCount ? kDefaultColors[slot] : kNotLoaded;
}

COLORREF CZvnSkinMgrUILib::GetSkinColor(ColorSlot slot) {
    if (slot < 0 || slot >= kColorCount) return kNotLoaded;
    COLORREF& cached = m_colors[static_cast<size_t>(slot)];
    if (cached != kNotLoaded) return cached;
    wchar_t text[64] = {};
    GetSkinString(kColorStringBase + static_cast<UINT>(slot), text, static_cast<int>(std::size(text)));
    cached = ParseSkinColor(text, kDefaultColors[slot]);
    return cached;
}

HICON CZvnSkinMgrUILib::GetCaptionIcon(bool small) {
    UniqueHicon& icon = m_captionIcons[small ? 0 : 1];
    if (icon) return icon.get();
    if (IsFolderSkin()) return nullptr;
    auto* library = dynamic_cast<CZvnSkinLoadResDll*>(Source());
    if (!library || !library->Module()) return nullptr;
    const int size = small ? 16 : 32;
    icon.reset(static_cast<HICON>(
        ::LoadImageW(library->Module(), MAKEINTRESOURCEW(kCaptionIcon), IMAGE_ICON, size, size, 0)));
    return icon.get();
}

CZvnSkinMgrUILib* GetZvnSkinMgr() {
    std::lock_guard<std::mutex> lock(g_instanceLock);
    if (!g_instance) g_instance = new (std::nothrow) CZvnSkinMgrUILib();
    return g_instance;
}

void ReleaseZvnSkinMgr() {
    CZvnSkinMgrUILib* instance = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_instanceLock);
        instance = std::exchange(g_instance, nullptr);
    }
    delete instance;
}
