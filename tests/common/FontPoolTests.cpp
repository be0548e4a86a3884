// The shared fonts.
#include <gtest/gtest.h>

#include "FontPool.h"

namespace {
LOGFONTW Describe(HFONT font) {
    LOGFONTW description{};
    ::GetObjectW(font, sizeof(description), &description);
    return description;
}

TEST(FontPool, CachesEachFontAndMapsUnknownIndexesToTheSecond) {
    CFontPool pool;
    const HFONT first = pool.GetFont(3);
    ASSERT_TRUE(first);
    EXPECT_EQ(first, pool.GetFont(3));
    EXPECT_EQ(pool.GetFont(1), pool.GetFont(17));
    EXPECT_EQ(pool.GetFont(1), pool.GetFont(400));
    EXPECT_EQ(pool.GetFont(1), pool.GetFont(-1));
    EXPECT_NE(pool.GetFont(1), pool.GetFont(10));

    pool.Release();
    const HFONT again = pool.GetFont(3);
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), ::GetObjectType(again)) << "released fonts are created again";
}

TEST(FontPool, FontsHaveTheirSizesAndStyles) {
    CFontPool pool;
    struct Case {
        int index;
        LONG height;
        LONG weight;
        BYTE underline;
    };
    for (const Case& c : {Case{0, -10, FW_NORMAL, 0}, Case{9, -24, FW_NORMAL, 0}, Case{10, -11, FW_BOLD, 0},
                          Case{15, -17, FW_BOLD, 0}, Case{16, -13, FW_BOLD, 1}}) {
        const LOGFONTW font = Describe(pool.GetFont(c.index));
        EXPECT_EQ(c.height, font.lfHeight) << c.index;
        EXPECT_EQ(c.weight, font.lfWeight) << c.index;
        EXPECT_EQ(c.underline, font.lfUnderline) << c.index;
        EXPECT_STREQ(L"Tahoma", font.lfFaceName);
        EXPECT_EQ(ANTIALIASED_QUALITY, font.lfQuality);
    }
}
}  // namespace
