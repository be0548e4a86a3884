#pragma once
// The toolkit's skin manager: the file names of its bitmaps in a skin folder,
// the frame shapes cut from the border bitmaps, its caption icons and its
// colours. One per process, through GetZvnSkinMgr.
#include <array>

#include "UniqueHandle.h"
#include "ZvnSkinMgr.h"
#include "ResourceIds.h"

class CZvnSkinMgrUILib : public CZvnSkinMgr {
public:
    enum BitmapId : UINT {
        kCaptionButtons = IDB_CAPTION_BUTTONS,
        kBorderBottom = IDB_BORDER_BOTTOM,
        kBorderRight = IDB_BORDER_RIGHT,
        kBorderTop = IDB_BORDER_TOP,
        kBorderLeft = IDB_BORDER_LEFT,
    };
    // Colour slots; the skin text of each is kColorStringBase + slot.
    enum ColorSlot : int {
        kColorText = 0,
        kColorGrayText,
        kColorLink,
        kColorLinkHot,
        kColorBorder,
        kColorBackground,
        kColorSelection,
        kColorCount
    };
    static constexpr UINT kColorStringBase = IDS_SKIN_COLOR_TEXT;
    static constexpr UINT kCaptionIcon = IDI_SKIN_CAPTION;

    CZvnSkinMgrUILib();
    ~CZvnSkinMgrUILib() override;

    void Clear() override;
    void OnBitmapLoaded(UINT id, HBITMAP bitmap) override;
    const wchar_t* GetBitmapName(UINT id) override;

    // The colour of a slot, read from the skin once; the slot's default when
    // the skin has no usable text for it.
    COLORREF GetSkinColor(ColorSlot slot);
    COLORREF GetTextColor() { return GetSkinColor(kColorText); }
    COLORREF GetGrayTextColor() { return GetSkinColor(kColorGrayText); }
    static COLORREF DefaultColor(ColorSlot slot) noexcept;

    // Icon IDI_SKIN_CAPTION of a skin library at 16x16 (small) or 32x32, kept by the
    // manager; null for a folder skin or when the library has none.
    HICON GetCaptionIcon(bool small);

    // The shapes of the frame's corners, cut from the top and bottom border
    // bitmaps when those are loaded: left and right halves of the upper half
    // of each, magenta left out. The caller's own copy, since another
    // thread's load may replace the manager's at any time; null until loaded.
    [[nodiscard]] UniqueHrgn TopRegion(int half) const { return CopyRegion(m_topRegions[half & 1]); }
    [[nodiscard]] UniqueHrgn BottomRegion(int half) const { return CopyRegion(m_bottomRegions[half & 1]); }

private:
    UniqueHrgn CopyRegion(const UniqueHrgn& region) const;

    std::array<UniqueHrgn, 2> m_topRegions;
    std::array<UniqueHrgn, 2> m_bottomRegions;
    std::array<UniqueHicon, 2> m_captionIcons;  // small, large
    std::array<COLORREF, kColorCount> m_colors;
};

// The process-wide toolkit skin manager, made on first use.
CZvnSkinMgrUILib* GetZvnSkinMgr();
// Deletes it; the next GetZvnSkinMgr makes a fresh one.
void ReleaseZvnSkinMgr();
