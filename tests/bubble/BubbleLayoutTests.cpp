// Where the bubble goes, its shape, and the limits of its texts, without windows.
#include <gtest/gtest.h>

#include <string>

#include "BubbleLayout.h"
#include "FileTypeIcons.h"

using namespace BubbleLayout;

namespace {
const RECT kWork{0, 0, 1280, 1000};

TEST(BubbleLayout, PlacementFollowsTheItemsHalfOfTheScreenAndStaysInTheWorkArea) {
    struct Case {
        RECT anchor;
        RECT expected;
        int side;
    } cases[] = {
        {{100, 400, 300, 440}, {302, 290, 684, 550}, kBubbleRightOfItem},   // left half: right of the item
        {{900, 400, 1100, 440}, {518, 290, 900, 550}, kBubbleLeftOfItem},  // right half: left of it
        {{100, 960, 300, 1000}, {302, 740, 684, 1000}, kBubbleRightOfItem},  // pushed up to the bottom
        {{900, 0, 1100, 30}, {518, 0, 900, 260}, kBubbleLeftOfItem},        // pushed down to the top
    };
    for (const Case& c : cases) {
        const Placement placement = PlaceBubble(c.anchor, 1280, kWork, kInitialHeight);
        EXPECT_TRUE(::EqualRect(&placement.rect, &c.expected)) << placement.rect.left << "," << placement.rect.top;
        EXPECT_EQ(placement.tailSide, c.side);
    }
}

TEST(BubbleLayout, NoTailWithinElevenPixelsOfTheWorkAreasBottom) {
    EXPECT_TRUE(HasTail(RECT{0, 979, 10, 999}, kWork));   // centre 11 px above
    EXPECT_FALSE(HasTail(RECT{0, 980, 10, 1000}, kWork));  // 10 px above
}

TEST(BubbleLayout, TextsAreCutAt512CharactersOr20LinesWithAnEllipsis) {
    std::wstring thirtyLines, twentyLines;
    for (int i = 1; i <= 30; ++i) thirtyLines += L"line " + std::to_wstring(i) + L"\r\n";
    for (int i = 1; i <= 20; ++i) twentyLines += (i > 1 ? L"\n" : L"") + std::to_wstring(i);
    struct Case {
        std::wstring in, out;
    } cases[] = {
        {L"short", L"short"},
        {std::wstring(512, L'a'), std::wstring(512, L'a')},
        {std::wstring(600, L'a'), std::wstring(512, L'a') + L"..."},
        {twentyLines, twentyLines},
        {thirtyLines, thirtyLines.substr(0, thirtyLines.find(L"line 21") - 2) + L"..."},
        // Lines are counted in the first 512 characters only.
        {std::wstring(510, L'b') + L"\n\n" + twentyLines, std::wstring(510, L'b') + L"\n\n..."},
    };
    for (const Case& c : cases) EXPECT_EQ(LimitText(CStringEx(c.in)).str(), c.out) << c.in.size();
}

TEST(BubbleLayout, FileKindsFollowTheExtension) {
    struct Case {
        const wchar_t* name;
        UINT image;
    } cases[] = {
        {L"Plan.DOCX", FileTypeIcons::kDocumentImage},
        {L"C:\\share\\budget.xlsx", FileTypeIcons::kSpreadsheetImage},
        {L"https://s.example/f/slides.pptx?id=3", FileTypeIcons::kPresentationImage},
        {L"folder.v2/README", FileTypeIcons::kGenericImage},
        {L"notes", FileTypeIcons::kGenericImage},
    };
    for (const Case& c : cases) EXPECT_EQ(FileTypeIcons::ImageForFile(c.name), c.image) << c.name;
}
}  // namespace
