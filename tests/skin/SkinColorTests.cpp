#include <gtest/gtest.h>

#include "SkinColor.h"

namespace {
const COLORREF kFallback = 0x979797;

struct ColorCase {
    const wchar_t* text;
    COLORREF expected;
};

TEST(SkinColor, ParsesRedGreenBlueOrFallsBack) {
    const ColorCase cases[] = {
        {L"", kFallback},
        {L"12", kFallback},
        {L"12,34", kFallback},
        {L",,", 0},
        {L"1,2,3", RGB(1, 2, 3)},
        {L" 255 , 128 , 0", RGB(255, 128, 0)},
        // Each field counts from its first seven characters only.
        {L"00000001234,5,6", RGB(0, 5, 6)},
        {L"1,00000002,3", RGB(1, 0, 3)},
        {L"1,2,00000003", RGB(1, 2, 0)},
        // A fourth field is not a channel of its own.
        {L"10,20,30,40", RGB(10, 20, 30)},
        // Values are not clamped: red 300 spills into green.
        {L"300,0,0", 300},
        {L"x,y,z", 0},
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(ParseSkinColor(c.text, kFallback), c.expected) << "text: " << c.text;
    EXPECT_EQ(ParseSkinColor(nullptr, kFallback), kFallback);
}
}  // namespace
