#include "FontPool.h"

#include <atomic>
#include <cwchar>

namespace {
struct FontSpec {
    int height;
    bool bold;
    bool underline;
};
constexpr FontSpec kFonts[CFontPool::kFontCount] = {
    {10, false, false}, {11, false, false}, {12, false, false}, {13, false, false}, {14, false, false},
    {16, false, false}, {17, false, false}, {19, false, false}, {20, false, false}, {24, false, false},
    {11, true, false},  {12, true, false},  {13, true, false},  {14, true, false},  {16, true, false},
    {17, true, false},  {13, true, true},
};
std::atomic<bool> g_created{false};
}  // namespace

CFontPool& CFontPool::Instance() {
    static CFontPool pool;
    g_created = true;
    return pool;
}

bool CFontPool::Exists() noexcept { return g_created; }

HFONT CFontPool::GetFont(int index) {
    if (index < 0 || index >= kFontCount) index = 1;
    UniqueHfont& slot = m_fonts[index];
    if (!slot) {
        const FontSpec& spec = kFonts[index];
        LOGFONTW font{};
        font.lfHeight = -spec.height;
        font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
        font.lfUnderline = spec.underline ? TRUE : FALSE;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfQuality = ANTIALIASED_QUALITY;
        std::wcscpy(font.lfFaceName, L"Tahoma");
        slot.reset(::CreateFontIndirectW(&font));
    }
    return slot.get();
}

void CFontPool::Release() noexcept {
    for (UniqueHfont& font : m_fonts) font.reset();
}
