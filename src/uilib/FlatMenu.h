#pragma once
// The toolkit's flat pop-up menu: every entry is owner-drawn on a white
// ground with a light picture column, the entry under the mouse filled with
// the menu's highlight colour. The owner window hands its WM_MEASUREITEM and
// WM_DRAWITEM to OnMeasureItem and OnDrawItem; before an entry is drawn the
// owner is asked (messages 4326 and 4327) whether it paints the entry's
// background itself, so one window can give its menus a look of its own.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CFlatMenu {
public:
    // Sent to the owner before an entry is drawn: wParam is the entry's
    // DRAWITEMSTRUCT, lParam the menu's highlight colour. A non-zero answer
    // means the owner has painted the background.
    static constexpr UINT kDrawEntryMessage = 4326;          // an entry at rest
    static constexpr UINT kDrawSelectedEntryMessage = 4327;  // the entry under the mouse or keyboard
    static constexpr COLORREF kBackground = 0xFFFFFF;
    static constexpr COLORREF kPictureColumn = 0xE8EEEE;
    static constexpr COLORREF kText = 0x333333;
    static constexpr COLORREF kGrayedText = RGB(153, 153, 153);
    static constexpr COLORREF kSelectedText = RGB(255, 255, 255);
    static constexpr COLORREF kSeparator = RGB(220, 220, 220);
    static constexpr int kPictureColumnWidth = 26;
    static constexpr int kEntryHeight = 22;
    static constexpr int kSeparatorHeight = 7;

    // Makes every entry of `menu` (and of its sub-menus) owner-drawn for as
    // long as this object lives; the menu itself stays the caller's.
    CFlatMenu(HMENU menu, COLORREF highlight);
    ~CFlatMenu();
    CFlatMenu(const CFlatMenu&) = delete;
    CFlatMenu& operator=(const CFlatMenu&) = delete;

    // The picture shown beside `command`, from an image list that stays the
    // caller's and must outlive the tracking.
    void SetEntryImage(UINT command, HIMAGELIST images, int index);
    // Tracks the menu for `owner` with the platform's tracking flags.
    UINT Track(UINT flags, int x, int y, HWND owner);

    // For the owner's message map; TRUE when the entry is a flat menu's.
    static BOOL OnMeasureItem(HWND owner, MEASUREITEMSTRUCT* measure);
    static BOOL OnDrawItem(HWND owner, const DRAWITEMSTRUCT* draw);
    // The toolkit's own entry background, for owners that keep its look.
    static void DrawEntryBackground(const DRAWITEMSTRUCT& draw, bool selected, COLORREF highlight);

private:
    struct Entry;
    void Prepare(HMENU menu);
    static Entry* EntryOf(ULONG_PTR itemData) noexcept;

    HMENU m_menu;
    COLORREF m_highlight;
    std::vector<std::unique_ptr<Entry>> m_entries;
};
