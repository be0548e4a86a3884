// Each thread draws from its own cache of skin bitmaps; the cache of a thread
// that has ended is reclaimed by a later lookup.
#include <gtest/gtest.h>

#include <thread>

#include "SkinFiles.h"
#include "common/UniqueHandle.h"
#include "uilib/ZvnSkinMgrUILib.h"

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

TEST_F(SkinCache, OneThreadGetsTheSameBitmapEveryTime) {
    const HBITMAP first = skin.GetBitmap(104, FALSE);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(skin.GetBitmap(104, FALSE), first);
    EXPECT_EQ(skin.GetBitmap(104, TRUE), first) << "cached by number whatever the form";
}

TEST_F(SkinCache, AnotherThreadLoadsItsOwnCopy) {
    const HBITMAP mine = skin.GetBitmap(104, FALSE);
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

TEST_F(SkinCache, LiveThreadsKeepTheirCachesWhileOthersLookUp) {
    UniqueKernelHandle readyEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueKernelHandle finishEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE ready = readyEvent.get();
    HANDLE finish = finishEvent.get();
    HBITMAP theirs = nullptr;
    bool stillLive = false;
    std::thread worker([&] {
        theirs = skin.GetBitmap(105, FALSE);
        ::SetEvent(ready);
        ::WaitForSingleObject(finish, 10000);
        stillLive = IsLiveBitmap(theirs) && skin.GetBitmap(105, FALSE) == theirs;
    });
    ::WaitForSingleObject(ready, 10000);
    // Our own lookups and those of a third thread walk past the waiting thread's cache.
    ASSERT_NE(skin.GetBitmap(105, FALSE), nullptr);
    ASSERT_NE(LoadOnNewThread(skin, 105), nullptr);
    ::SetEvent(finish);
    worker.join();
    EXPECT_TRUE(stillLive);
}

TEST_F(SkinCache, CacheOfAnEndedThreadIsReclaimedByALaterLookup) {
    ASSERT_NE(skin.GetBitmap(104, FALSE), nullptr);  // this thread's cache comes first in the list
    const HBITMAP ended = LoadOnNewThread(skin, 104);
    ASSERT_NE(ended, nullptr);
    EXPECT_TRUE(IsLiveBitmap(ended)) << "nobody has looked since the thread ended";

    const HBITMAP mine = skin.GetBitmap(104, FALSE);
    EXPECT_FALSE(IsLiveBitmap(ended));
    EXPECT_TRUE(IsLiveBitmap(mine));
}

TEST_F(SkinCache, SwitchingSkinsDropsEveryThreadsBitmaps) {
    const HBITMAP mine = skin.GetBitmap(104, FALSE);
    HBITMAP theirs = nullptr;
    UniqueKernelHandle loadedEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueKernelHandle switchedEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    HANDLE loaded = loadedEvent.get();
    HANDLE switched = switchedEvent.get();
    bool theirsDropped = false;
    std::thread worker([&] {
        theirs = skin.GetBitmap(104, FALSE);
        ::SetEvent(loaded);
        ::WaitForSingleObject(switched, 10000);
        theirsDropped = !IsLiveBitmap(theirs);
    });
    ::WaitForSingleObject(loaded, 10000);
    EXPECT_TRUE(skin.LoadSkin(ResourceLibraryPath().c_str()));
    ::SetEvent(switched);
    worker.join();
    EXPECT_FALSE(IsLiveBitmap(mine));
    EXPECT_TRUE(theirsDropped);
}
}  // namespace
