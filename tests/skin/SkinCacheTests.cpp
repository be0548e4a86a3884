// Each thread draws from its own cache of skin bitmaps; the cache of a thread
// that has ended is reclaimed by a later lookup.
#include <gtest/gtest.h>

#include <thread>

#include "SkinFiles.h"
#include "UniqueHandle.h"
#include "ZvnSkinMgrUILib.h"

using namespace skintest;

namespace {
HBITMAP LoadOnNewThread(CZvnSkinMgr& skin, UINT id) {
    HBITMAP loaded = nullptr;
    std::thread worker([&] { loaded = skin.GetBitmap(id, FALSE); });
    worker.join();
    return loaded;
}

class SkinCache : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(skin.LoadSkin(ResourceLibraryPath().c_str())); }
    CZvnSkinMgrUILib skin;
};

TEST_F(SkinCache, EachThreadLoadsOnceIntoItsOwnCache) {
    const HBITMAP mine = skin.GetBitmap(104, FALSE);
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(skin.GetBitmap(104, TRUE), mine) << "cached by number whatever the form";
    HBITMAP theirs = nullptr;
    HBITMAP theirsAgain = nullptr;
    std::thread worker([&] {
        theirs = skin.GetBitmap(104, FALSE);
        theirsAgain = skin.GetBitmap(104, FALSE);
    });
    worker.join();
    ASSERT_NE(theirs, nullptr);
    EXPECT_NE(theirs, mine);
    EXPECT_EQ(theirsAgain, theirs);
    EXPECT_EQ(skin.GetBitmap(104, FALSE), mine);
}

// Lookups walk every cache: a running thread's cache must survive them, an
// ended thread's must not.
TEST_F(SkinCache, LookupsReclaimOnlyCachesOfEndedThreads) {
    UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueKernelHandle finish(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HBITMAP running = nullptr;
    bool keptWhileRunning = false;
    std::thread worker([&] {
        running = skin.GetBitmap(105, FALSE);
        ::SetEvent(ready.get());
        ::WaitForSingleObject(finish.get(), 10000);
        keptWhileRunning = IsLiveBitmap(running);
    });
    ::WaitForSingleObject(ready.get(), 10000);
    EXPECT_NE(skin.GetBitmap(105, FALSE), nullptr);
    const HBITMAP ended = LoadOnNewThread(skin, 105);  // a third thread walks past the waiting one
    ::SetEvent(finish.get());
    worker.join();
    ASSERT_NE(ended, nullptr);
    EXPECT_TRUE(keptWhileRunning);
    EXPECT_TRUE(IsLiveBitmap(ended)) << "nobody has looked since that thread ended";

    // A new thread's lookup walks the whole list.
    ASSERT_NE(LoadOnNewThread(skin, 105), nullptr);
    EXPECT_FALSE(IsLiveBitmap(ended));
    EXPECT_FALSE(IsLiveBitmap(running));
    EXPECT_TRUE(IsLiveBitmap(skin.GetBitmap(105, FALSE)));
}

TEST_F(SkinCache, SwitchingSkinsDropsEveryThreadsBitmaps) {
    const HBITMAP mine = skin.GetBitmap(104, FALSE);
    HBITMAP theirs = nullptr;
    UniqueKernelHandle loaded(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueKernelHandle switched(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool theirsDropped = false;
    std::thread worker([&] {
        theirs = skin.GetBitmap(104, FALSE);
        ::SetEvent(loaded.get());
        ::WaitForSingleObject(switched.get(), 10000);
        theirsDropped = !IsLiveBitmap(theirs);
    });
    ::WaitForSingleObject(loaded.get(), 10000);
    EXPECT_TRUE(skin.LoadSkin(ResourceLibraryPath().c_str()));
    ::SetEvent(switched.get());
    worker.join();
    EXPECT_FALSE(IsLiveBitmap(mine));
    EXPECT_TRUE(theirsDropped);
}
}  // namespace
