#include <gtest/gtest.h>

#include "FontPool.h"

namespace {
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

}  // namespace
