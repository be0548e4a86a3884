#include "CommandBar.h"
#include "SolidFill.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "FlatMenu.h"
#include "ModuleState.h"
#include "ResourceImageCache.h"
#include "VelGdiplus.h"

namespace {
// A premultiplied 32-bit top-down bitmap of the picture, as menus draw item
// bitmaps with their alpha.
HBITMAP MenuBitmap(UINT imageId, int size) {
    std::unique_ptr<Gdiplus::Image> image = CVelGdiplus::LoadResourceImage(imageId);
    if (!image) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueHbitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return nullptr;
    Gdiplus::Bitmap target(size, size, size * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&target);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
    if (graphics.DrawImage(image.get(), 0, 0, size, size) != Gdiplus::Ok) return nullptr;
    return bitmap.release();
}

std::wstring ItemText(HMENU menu, int index) {
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(index), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    return text;
}
}  // namespace

CCommandBar::~CCommandBar() {
    // The toolbar goes first: it may still be asked to draw the menu.
    m_bar.reset();
}

HWND CCommandBar::Create(HWND owner, DWORD style) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    m_owner = owner;
    m_bar.reset(::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", style | TBSTYLE_FLAT | TBSTYLE_LIST, 0, 0, 0, 0, owner,
                                  nullptr, ModuleState::Instance(), nullptr));
    if (!m_bar) return nullptr;
    ::SendMessageW(m_bar.get(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageW(m_bar.get(), TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    return m_bar.get();
}

BOOL CCommandBar::AttachMenu(HINSTANCE resources, UINT menuId) {
    if (!m_bar) return FALSE;
    UniqueHmenu menu(::LoadMenuW(resources, MAKEINTRESOURCEW(menuId)));
    if (!menu) return FALSE;
    DestroyMenu();
    const int count = ::GetMenuItemCount(menu.get());
    std::vector<std::wstring> texts;
    for (int i = 0; i < count; ++i) texts.push_back(ItemText(menu.get(), i));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = static_cast<int>(kFirstButtonId + i);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_AUTOSIZE | BTNS_SHOWTEXT | BTNS_BUTTON;
        button.iString = reinterpret_cast<INT_PTR>(texts[static_cast<size_t>(i)].c_str());
        ::SendMessageW(m_bar.get(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    }
    ::SendMessageW(m_bar.get(), TB_AUTOSIZE, 0, 0);
    m_menu = std::move(menu);
    return TRUE;
}

void CCommandBar::DestroyMenu() {
    if (m_bar) {
        while (::SendMessageW(m_bar.get(), TB_BUTTONCOUNT, 0, 0) > 0) ::SendMessageW(m_bar.get(), TB_DELETEBUTTON, 0, 0);
    }
    m_menu.reset();
}

// The pictures are decoded when a menu first shows them: the frame starts
// hidden, and most sessions never open its menus.
BOOL CCommandBar::AddCommandImage(UINT imageId, UINT command) {
    if (!CResourceImageCache::Exists(imageId)) return FALSE;
    m_pendingImages.emplace_back(imageId, command);
    return TRUE;
}

void CCommandBar::LoadPendingImages() const {
    for (const auto& [imageId, command] : m_pendingImages) {
        UniqueHbitmap bitmap(MenuBitmap(imageId, kImageSize));
        if (!bitmap) continue;
        if (!m_imageList) m_imageList.reset(::ImageList_Create(kImageSize, kImageSize, ILC_COLOR32, 8, 8));
        // The list keeps its own copy of the picture.
        const int index = m_imageList ? ::ImageList_Add(m_imageList.get(), bitmap.get(), nullptr) : -1;
        if (index >= 0) m_imageIndex[command] = index;
    }
    m_pendingImages.clear();
}

void CCommandBar::TrackPopup(int index) {
    if (!m_menu || !m_bar) return;
    HMENU popup = ::GetSubMenu(m_menu.get(), index);
    if (!popup) return;
    RECT button{};
    ::SendMessageW(m_bar.get(), TB_GETRECT, kFirstButtonId + index, reinterpret_cast<LPARAM>(&button));
    ::MapWindowPoints(m_bar.get(), nullptr, reinterpret_cast<POINT*>(&button), 2);
    ::SendMessageW(m_bar.get(), TB_PRESSBUTTON, kFirstButtonId + index, TRUE);
    CFlatMenu flat(popup, kHighlight);
    LoadPendingImages();
    for (const auto& [command, picture] : m_imageIndex) flat.SetEntryImage(command, m_imageList.get(), picture);
    const UINT command = flat.Track(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, button.left, button.bottom, m_owner);
    ::SendMessageW(m_bar.get(), TB_PRESSBUTTON, kFirstButtonId + index, FALSE);
    if (command && ::IsWindow(m_owner)) ::PostMessageW(m_owner, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

BOOL CCommandBar::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (!m_bar || reinterpret_cast<HWND>(lParam) != m_bar.get()) return FALSE;
    const UINT id = LOWORD(wParam);
    if (id < kFirstButtonId) return FALSE;
    TrackPopup(static_cast<int>(id - kFirstButtonId));
    return TRUE;
}

LRESULT CCommandBar::OnCustomDraw(NMHDR* header, BOOL& handled) const {
    handled = m_bar && header && header->hwndFrom == m_bar.get();
    if (!handled) return CDRF_DODEFAULT;
    auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        FillSolid(draw->nmcd.hdc, draw->nmcd.rc, kBackground);
        return CDRF_NOTIFYITEMDRAW;
    }
    case CDDS_ITEMPREPAINT: {
        draw->clrText = kText;
        draw->clrTextHighlight = kText;
        if (draw->nmcd.uItemState & (CDIS_HOT | CDIS_SELECTED | CDIS_CHECKED))
            FillSolid(draw->nmcd.hdc, draw->nmcd.rc, kHotBackground);
        // The fill stands in for the toolbar's own button face and edges.
        return TBCDRF_NOEDGES | TBCDRF_NOOFFSET | TBCDRF_NOBACKGROUND;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

int CCommandBar::Height() const {
    if (!m_bar) return 0;
    RECT rect{};
    ::GetWindowRect(m_bar.get(), &rect);
    const DWORD size = static_cast<DWORD>(::SendMessageW(m_bar.get(), TB_GETBUTTONSIZE, 0, 0));
    return std::max<int>(rect.bottom - rect.top, HIWORD(size));
}

HIMAGELIST CCommandBar::CommandImages(UINT command, int* index) const {
    LoadPendingImages();
    const auto found = m_imageIndex.find(command);
    if (index) *index = found == m_imageIndex.end() ? -1 : found->second;
    return found == m_imageIndex.end() ? nullptr : m_imageList.get();
}
