// The skin manager: colours from skin texts, skins from a folder the tests
// write and from the built resource library, switching between them and
// refusing what cannot be opened. Each thread draws from its own cache of skin
// bitmaps; the cache of a thread that has ended is reclaimed by a later lookup
// or a switch of skins.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SkinColor.h"
#include "UIToolkit.h"
#include "UniqueHandle.h"
#include "ZvnSkinMgrUILib.h"
#include "support/TestSupport.h"

namespace {
// A folder path without its trailing backslash.
std::wstring NoSlash(std::wstring folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

// Writes a 24-bit bitmap file of one colour.
bool WriteSolidBitmap(const std::wstring& path, int width, int height, COLORREF c) {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> body(static_cast<size_t>(stride) * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = body.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < width; ++x) {
            row[x * 3] = GetBValue(c);
            row[x * 3 + 1] = GetGValue(c);
            row[x * 3 + 2] = GetRValue(c);
        }
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(body.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(body.size());

    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
    return out.good();
}

// Writes `key`=`value` into section "UILibString" of folder\ZvnUI.ini.
bool WriteSkinText(const std::wstring& folder, const wchar_t* key, const wchar_t* value) {
    return ::WritePrivateProfileStringW(L"UILibString", key, value, (NoSlash(folder) + L"\\ZvnUI.ini").c_str()) != FALSE;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) == 0) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

bool IsLiveBitmap(HBITMAP bitmap) { return bitmap && ::GetObjectType(bitmap) == OBJ_BITMAP; }

std::wstring ResourceLibraryPath() { return testsupport::BinFolder() + L"qksjres.dll"; }

const COLORREF kFallback = 0x979797;

struct ColorCase {
    const wchar_t* text;
    COLORREF expected;
};

TEST(SkinColor, ParsesRedGreenBlueOrFallsBack) {
    const ColorCase cases[] = {
        {L"", kFallback},
        {L"12,34", kFallback},
        {L",,", 0},
        {L"1,2,3", RGB(1, 2, 3)},
        {L" 255 , 128 , 0", RGB(255, 128, 0)},
        // Each field counts from its first seven characters only.
        {L"00000001234,5,6", RGB(0, 5, 6)},
        {L"1,2,00000003", RGB(1, 2, 0)},
        // A fourth field is not a channel of its own.
        {L"10,20,30,40", RGB(10, 20, 30)},
        // Values are not clamped: red 300 spills into green.
        {L"300,0,0", 300},
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(ParseSkinColor(c.text, kFallback), c.expected) << "text: " << c.text;
    EXPECT_EQ(ParseSkinColor(nullptr, kFallback), kFallback);
}

class FolderSkin : public ::testing::Test {
protected:
    void SetUp() override {
        folder = NoSlash(temp.Path());
        ASSERT_TRUE(WriteSolidBitmap(folder + L"\\capbuttons.bmp", 64, 16, RGB(10, 20, 30)));
        ASSERT_TRUE(WriteSolidBitmap(folder + L"\\border_left.bmp", 4, 8, RGB(1, 2, 3)));
        ASSERT_TRUE(::CreateDirectoryW((folder + L"\\fit").c_str(), nullptr));
        ASSERT_TRUE(WriteSolidBitmap(folder + L"\\fit\\btn_check.bmp", 13, 26, RGB(0, 200, 0)));
        ASSERT_TRUE(WriteSkinText(folder, L"32120", L"10,20,30"));
        ASSERT_TRUE(WriteSkinText(folder, L"capbuttons.bmp", L"caption buttons"));
        ASSERT_TRUE(skin.LoadSkin(folder.c_str()));
    }

    testsupport::TempFolder temp;
    std::wstring folder;
    CZvnSkinMgrUILib skin;
};

TEST_F(FolderSkin, LoadsBitmapsByFileNameIncludingSubfolders) {
    EXPECT_TRUE(skin.IsFolderSkin());
    EXPECT_EQ(BitmapSize(skin.GetBitmap(104, FALSE)).cx, 64);
    EXPECT_EQ(BitmapSize(skin.GetBitmap(32114, FALSE)).cy, 26);  // "\fit\btn_check.bmp"
    DIBSECTION section{};
    EXPECT_EQ(::GetObjectW(skin.GetBitmap(108, TRUE), sizeof(section), &section), static_cast<int>(sizeof(section)))
        << "the DIB flag gives a DIB section";
}

TEST_F(FolderSkin, MissingFileAndUnknownIdsLoadNothingAndCacheNothing) {
    EXPECT_EQ(skin.GetBitmap(106, FALSE), nullptr);  // border_right.bmp is not in the folder
    ASSERT_TRUE(WriteSolidBitmap(folder + L"\\border_right.bmp", 4, 8, RGB(9, 9, 9)));
    EXPECT_NE(skin.GetBitmap(106, FALSE), nullptr) << "a failed load must not be remembered";
    EXPECT_EQ(skin.GetBitmap(0, FALSE), nullptr);
    EXPECT_EQ(skin.GetBitmap(12345, FALSE), nullptr);
}

TEST_F(FolderSkin, TextsComeFromTheIniFile) {
    wchar_t text[64] = {};
    EXPECT_EQ(skin.GetSkinString(104, text, 64), 1);
    EXPECT_STREQ(text, L"caption buttons");
    EXPECT_EQ(skin.GetTextColor(), RGB(10, 20, 30));
    EXPECT_EQ(skin.GetGrayTextColor(), 0x979797u) << "no text for it: the default";
    EXPECT_EQ(skin.GetCaptionIcon(true), nullptr) << "caption icons come from skin libraries only";
}

TEST_F(FolderSkin, FailedLoadKeepsTheCurrentSkinAndItsCache) {
    const HBITMAP before = skin.GetBitmap(104, FALSE);
    ASSERT_NE(before, nullptr);
    EXPECT_FALSE(skin.LoadSkin((folder + L"\\no such skin").c_str()));
    EXPECT_FALSE(skin.LoadSkin(nullptr));
    // An existing file that is no library.
    EXPECT_FALSE(skin.LoadSkin((folder + L"\\ZvnUI.ini").c_str()));
    EXPECT_TRUE(skin.IsFolderSkin());
    EXPECT_TRUE(IsLiveBitmap(before));
    EXPECT_EQ(skin.GetBitmap(104, FALSE), before);
}

struct Flag : CZvnSkinOwned {
    explicit Flag(bool& deleted) : m_deleted(deleted) {}
    ~Flag() override { m_deleted = true; }
    bool& m_deleted;
};

TEST_F(FolderSkin, SwitchingSkinsDropsCachedBitmapsOwnedObjectsAndFirstThreeColours) {
    const HBITMAP folderBitmap = skin.GetBitmap(104, FALSE);
    bool ownedDeleted = false;
    skin.AddOwnedObject(std::make_unique<Flag>(ownedDeleted));
    ASSERT_TRUE(WriteSkinText(folder, L"32124", L"1,1,1"));
    EXPECT_EQ(skin.GetSkinColor(CZvnSkinMgrUILib::kColorBorder), RGB(1, 1, 1));

    testsupport::TempFolder second;
    ASSERT_TRUE(WriteSkinText(second.Path(), L"32120", L"40,50,60"));
    ASSERT_TRUE(WriteSkinText(second.Path(), L"32124", L"2,2,2"));
    ASSERT_TRUE(skin.LoadSkin(NoSlash(second.Path()).c_str()));

    EXPECT_FALSE(IsLiveBitmap(folderBitmap));
    EXPECT_TRUE(ownedDeleted);
    EXPECT_EQ(skin.GetBitmap(104, FALSE), nullptr) << "the new skin has no caption buttons";
    EXPECT_EQ(skin.GetTextColor(), RGB(40, 50, 60));
    // Only the first three colours are read again after a switch.
    EXPECT_EQ(skin.GetSkinColor(CZvnSkinMgrUILib::kColorBorder), RGB(1, 1, 1));
}

TEST(LibrarySkin, BitmapsTextsAndIconsByNumber) {
    CZvnSkinMgrUILib skin;
    EXPECT_EQ(skin.GetBitmap(104, FALSE), nullptr) << "no skin loaded yet";
    ASSERT_TRUE(skin.LoadSkin(ResourceLibraryPath().c_str()));
    EXPECT_FALSE(skin.IsFolderSkin());

    EXPECT_EQ(BitmapSize(skin.GetBitmap(104, FALSE)).cx, 64);
    // Numbers outside the folder name table still load from a library.
    EXPECT_NE(skin.GetBitmap(251, TRUE), nullptr);
    EXPECT_EQ(skin.GetBitmap(9999, FALSE), nullptr);

    wchar_t text[64] = {};
    EXPECT_EQ(skin.GetSkinString(32122, text, 64), 9);
    EXPECT_STREQ(text, L"0,102,204");
    EXPECT_EQ(skin.GetSkinColor(CZvnSkinMgrUILib::kColorLink), RGB(0, 102, 204));
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(skin.GetCaptionIcon(true), &info));
    UniqueHbitmap color(info.hbmColor), mask(info.hbmMask);
    EXPECT_EQ(BitmapSize(info.hbmColor).cx, 16);
}

// The frame corners: the upper half of each border bitmap, split into its
// left and right halves, with the magenta pixels cut away.
TEST(LibrarySkin, BorderBitmapsGiveCornerShapes) {
    CZvnSkinMgrUILib skin;
    ASSERT_TRUE(skin.LoadSkin(ResourceLibraryPath().c_str()));
    EXPECT_FALSE(skin.TopRegion(0));
    ASSERT_NE(skin.GetBitmap(107, FALSE), nullptr);
    ASSERT_NE(skin.GetBitmap(105, FALSE), nullptr);

    const UniqueHrgn top[2] = {skin.TopRegion(0), skin.TopRegion(1)};
    const UniqueHrgn bottom[2] = {skin.BottomRegion(0), skin.BottomRegion(1)};
    struct Probe {
        HRGN region;
        int x, y;
        bool inside;
    };
    const Probe probes[] = {
        {top[0].get(), 0, 0, false},  // rounded away
        {top[0].get(), 7, 0, true},
        {top[0].get(), 8, 3, false},  // the right half's
        {top[0].get(), 3, 8, false},  // the inactive state below
        {top[1].get(), 15, 7, true},
        {bottom[1].get(), 15, 0, true},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(::PtInRegion(p.region, p.x, p.y) != FALSE, p.inside) << p.x << "," << p.y;
}

// Each thread loads the border bitmaps into its own cache and so replaces the
// shared shapes: a shape handed out before must survive that.
TEST(LibrarySkin, AShapeHandedOutOutlivesItsReplacementOnAnotherThread) {
    CZvnSkinMgrUILib skin;
    ASSERT_TRUE(skin.LoadSkin(ResourceLibraryPath().c_str()));
    ASSERT_NE(skin.GetBitmap(107, FALSE), nullptr);
    const UniqueHrgn mine = skin.TopRegion(0);
    std::thread([&skin] { skin.GetBitmap(107, FALSE); }).join();
    RECT box{};
    EXPECT_NE(::GetRgnBox(mine.get(), &box), ERROR);
    EXPECT_EQ(box.right, 8);
}

TEST(ToolkitSkin, StartLoadsTheModuleFoldersLibraryAndStopReleasesIt) {
    UniqueHmodule resources(::LoadLibraryW(ResourceLibraryPath().c_str()));
    ASSERT_TRUE(resources);
    ASSERT_TRUE(CUIToolkit::Initialize(resources.get(), testsupport::BinFolder()));
    CZvnSkinMgrUILib* started = GetZvnSkinMgr();
    ASSERT_NE(started, nullptr);
    EXPECT_TRUE(started->HasSource());
    EXPECT_FALSE(started->IsFolderSkin());
    const HBITMAP caption = started->GetBitmap(104, FALSE);
    EXPECT_TRUE(IsLiveBitmap(caption));

    CUIToolkit::Uninitialize();
    EXPECT_FALSE(IsLiveBitmap(caption)) << "the skin's bitmaps go with the toolkit";
    CZvnSkinMgrUILib* fresh = GetZvnSkinMgr();
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(fresh->HasSource());
    ReleaseZvnSkinMgr();
}

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
    // A switch drops every thread's bitmaps, not only the caller's.
    ASSERT_TRUE(skin.LoadSkin(ResourceLibraryPath().c_str()));
    EXPECT_FALSE(IsLiveBitmap(mine));
    EXPECT_FALSE(IsLiveBitmap(theirs));
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
}  // namespace
