#include "FlatMenu.h"
#include "SolidFill.h"

#include "PopupMenu.h"

#include <algorithm>
#include <utility>

#include "DcGuards.h"
#include "FontPool.h"
#include "UniqueHandle.h"

struct CFlatMenu::Entry {
    CFlatMenu* owner;
    UINT command;
    bool separator;
    std::wstring text;
    HIMAGELIST images = nullptr;
    int image = -1;
};

namespace {
constexpr int kMenuFont = 2;  // Tahoma 12 px regular
constexpr int kTextMargin = 8;

// Entries of the menus being shown, so that item data from anyone else's
// owner-drawn menu is never taken for ours.
std::vector<const void*>& LiveEntries() {
    static std::vector<const void*> entries;
    return entries;
}

}  // namespace

CFlatMenu::CFlatMenu(HMENU menu, COLORREF highlight) : m_menu(menu), m_highlight(highlight) {
    if (m_menu) Prepare(m_menu);
}

CFlatMenu::~CFlatMenu() {
    auto& live = LiveEntries();
    for (const auto& entry : m_entries) live.erase(std::remove(live.begin(), live.end(), entry.get()), live.end());
}

void CFlatMenu::Prepare(HMENU menu) {
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = 255;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        auto entry = std::make_unique<Entry>(Entry{this, info.wID, (info.fType & MFT_SEPARATOR) != 0, text});
        MENUITEMINFOW owned{sizeof(owned)};
        owned.fMask = MIIM_FTYPE | MIIM_DATA;
        owned.fType = info.fType | MFT_OWNERDRAW;
        owned.dwItemData = reinterpret_cast<ULONG_PTR>(entry.get());
        ::SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &owned);
        LiveEntries().push_back(entry.get());
        m_entries.push_back(std::move(entry));
        if (info.hSubMenu) Prepare(info.hSubMenu);
    }
}

void CFlatMenu::SetEntryImage(UINT command, HIMAGELIST images, int index) {
    for (const auto& entry : m_entries) {
        if (entry->command != command || entry->separator) continue;
        entry->images = images;
        entry->image = index;
    }
}

UINT CFlatMenu::Track(UINT flags, int x, int y, HWND owner) {
    if (!m_menu) return 0;
    const UINT command = PopupMenu::Track(m_menu, flags, x, y, owner);
    // Without this a menu of a window that was not in front does not close
    // on the next click elsewhere.
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return command;
}

CFlatMenu::Entry* CFlatMenu::EntryOf(ULONG_PTR itemData) noexcept {
    const auto* candidate = reinterpret_cast<const void*>(itemData);
    const auto& live = LiveEntries();
    if (!candidate || std::find(live.begin(), live.end(), candidate) == live.end()) return nullptr;
    return reinterpret_cast<Entry*>(itemData);
}

BOOL CFlatMenu::OnMeasureItem(HWND owner, MEASUREITEMSTRUCT* measure) {
    if (!measure || measure->CtlType != ODT_MENU) return FALSE;
    Entry* entry = EntryOf(measure->itemData);
    if (!entry) return FALSE;
    if (entry->separator) {
        measure->itemWidth = kPictureColumnWidth;
        measure->itemHeight = kSeparatorHeight;
        return TRUE;
    }
    WindowDC dc(owner);
    SelectGuard font(dc.get(), CFontPool::Instance().GetFont(kMenuFont));
    RECT text{0, 0, 0, 0};
    ::DrawTextW(dc.get(), entry->text.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
    // The platform adds the width of a check mark on its own.
    measure->itemWidth = static_cast<UINT>(kPictureColumnWidth + kTextMargin + (text.right - text.left) + kTextMargin);
    measure->itemHeight = kEntryHeight;
    return TRUE;
}

void CFlatMenu::DrawEntryBackground(const DRAWITEMSTRUCT& draw, bool selected, COLORREF highlight) {
    if (selected) {
        FillSolid(draw.hDC, draw.rcItem, highlight);
        return;
    }
    FillSolid(draw.hDC, draw.rcItem, kBackground);
    RECT column = draw.rcItem;
    column.right = std::min<LONG>(column.right, column.left + kPictureColumnWidth);
    FillSolid(draw.hDC, column, kPictureColumn);
}

BOOL CFlatMenu::OnDrawItem(HWND owner, const DRAWITEMSTRUCT* draw) {
    if (!draw || draw->CtlType != ODT_MENU) return FALSE;
    Entry* entry = EntryOf(draw->itemData);
    if (!entry) return FALSE;
    const COLORREF highlight = entry->owner->m_highlight;
    const bool grayed = (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool selected = !entry->separator && !grayed && (draw->itemState & ODS_SELECTED) != 0;
    const UINT ask = selected ? kDrawSelectedEntryMessage : kDrawEntryMessage;
    if (!::SendMessageW(owner, ask, reinterpret_cast<WPARAM>(draw), static_cast<LPARAM>(highlight)))
        DrawEntryBackground(*draw, selected, highlight);

    const RECT& item = draw->rcItem;
    if (entry->separator) {
        RECT line{item.left + kPictureColumnWidth + 2, (item.top + item.bottom) / 2, item.right - 2, 0};
        line.bottom = line.top + 1;
        FillSolid(draw->hDC, line, kSeparator);
        return TRUE;
    }
    if (entry->images && entry->image >= 0) {
        int width = 0, height = 0;
        ::ImageList_GetIconSize(entry->images, &width, &height);
        ::ImageList_Draw(entry->images, entry->image, draw->hDC, item.left + (kPictureColumnWidth - width) / 2,
                         item.top + (item.bottom - item.top - height) / 2, ILD_TRANSPARENT);
    }
    RECT text = item;
    text.left += kPictureColumnWidth + kTextMargin;
    text.right -= kTextMargin;
    SelectGuard font(draw->hDC, CFontPool::Instance().GetFont(kMenuFont));
    ::SetBkMode(draw->hDC, TRANSPARENT);
    ::SetTextColor(draw->hDC, grayed ? kGrayedText : (selected ? kSelectedText : kText));
    // An accelerator after a tab stands right-aligned.
    const size_t tab = entry->text.find(L'\t');
    const UINT format = DT_SINGLELINE | DT_VCENTER | ((draw->itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
    ::DrawTextW(draw->hDC, entry->text.c_str(), static_cast<int>(std::min(tab, entry->text.size())), &text, format);
    if (tab != std::wstring::npos)
        ::DrawTextW(draw->hDC, entry->text.c_str() + tab + 1, -1, &text, format | DT_RIGHT);
    return TRUE;
}
