#pragma once
// The frame's menu bar: a flat toolbar whose buttons are the top-level items
// of a menu; pressing one drops its pop-up below it. Menu items can carry the
// picture of their command, taken from the resource library.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <utility>
#include <vector>

#include "UniqueHandle.h"

class CCommandBar {
public:
    // Child, visible, clipping; no divider, no resizing, no parent alignment.
    static constexpr DWORD kStyle = 0x5600004C;
    static constexpr int kImageSize = 16;
    static constexpr COLORREF kHighlight = 0xD99204;
    // The bar's own look, the same as its menus'.
    static constexpr COLORREF kBackground = 0xFFFFFF;
    static constexpr COLORREF kHotBackground = 0xE8EEEE;
    static constexpr COLORREF kText = 0x333333;

    CCommandBar() = default;
    CCommandBar(const CCommandBar&) = delete;
    CCommandBar& operator=(const CCommandBar&) = delete;
    ~CCommandBar();

    // Creates the bar as a child of `owner`, which receives the commands and
    // the WM_INITMENUPOPUP of each pop-up.
    HWND Create(HWND owner, DWORD style = kStyle);
    [[nodiscard]] HWND Window() const noexcept { return m_bar.get(); }
    // Shows `menuId` of the resource library (a menu it loads and owns).
    BOOL AttachMenu(HINSTANCE resources, UINT menuId);
    [[nodiscard]] HMENU Menu() const noexcept { return m_menu.get(); }
    void DestroyMenu();
    // Items of `command` show picture `imageId` (16 x 16); FALSE when the
    // library has no such picture.
    BOOL AddCommandImage(UINT imageId, UINT command);
    [[nodiscard]] size_t CommandImageCount() const noexcept { return m_imageIndex.size() + m_pendingImages.size(); }
    // The pictures as one image list (owned by the bar) and the index of
    // `command`'s picture in it; null when `command` has none.
    [[nodiscard]] HIMAGELIST CommandImages(UINT command, int* index) const;
    // Drops the pop-up of top-level item `index` below its button and sends
    // the chosen command to the owner.
    void TrackPopup(int index);
    // A WM_COMMAND from the bar (its buttons carry their item index).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // NM_CUSTOMDRAW of the bar (its parent forwards it): white bar, dark
    // text, a flat light fill under the button that is hot or dropped down.
    // FALSE in `handled` when the notification is another control's.
    LRESULT OnCustomDraw(NMHDR* header, BOOL& handled) const;
    // The bar's height when laid out at the owner's width.
    [[nodiscard]] int Height() const;

    static constexpr UINT kFirstButtonId = 0xE000;

private:
    // Decodes the pictures added since the last call into the image list.
    void LoadPendingImages() const;

    UniqueHwnd m_bar;
    HWND m_owner = nullptr;
    UniqueHmenu m_menu;
    // Filled from the pending pictures on first use, from const callers too.
    mutable std::map<UINT, int> m_imageIndex;
    mutable UniqueHandle<handle_traits::Simple<HIMAGELIST, nullptr, ::ImageList_Destroy>> m_imageList;
    mutable std::vector<std::pair<UINT, UINT>> m_pendingImages;  // picture, command
};
