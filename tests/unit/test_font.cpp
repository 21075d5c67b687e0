#include <gtest/gtest.h>

#include "Graphics/Font.h"
#include "Graphics/Image_Bank.h"

TEST(Font, CharactersMapOntoTheGlyphTable)
{
    EXPECT_EQ(Font::GlyphIndex(' '), 0);
    EXPECT_EQ(Font::GlyphIndex('!'), 1);
    EXPECT_EQ(Font::GlyphIndex('0'), 16);
    EXPECT_EQ(Font::GlyphIndex('A'), 33);
    EXPECT_EQ(Font::GlyphIndex('Z'), 58);
    // Lower case borrows the capitals; the six between them borrow ";" to "@".
    EXPECT_EQ(Font::GlyphIndex('a'), Font::GlyphIndex('A'));
    EXPECT_EQ(Font::GlyphIndex('z'), Font::GlyphIndex('Z'));
    EXPECT_EQ(Font::GlyphIndex('['), Font::GlyphIndex(';'));
    EXPECT_EQ(Font::GlyphIndex('`'), Font::GlyphIndex('@'));
    // Nothing to draw with.
    EXPECT_EQ(Font::GlyphIndex('{'), -1);
    EXPECT_EQ(Font::GlyphIndex('~'), -1);
    EXPECT_EQ(Font::GlyphIndex('\n'), -1);
    EXPECT_EQ(Font::GlyphIndex(static_cast<char>(0xE9)), -1);
}

TEST(Font, GlyphsAreTheImagesNamedByTheirCharacter)
{
    Font font;
    font.Init();
    EXPECT_EQ(font.mGlyphs[0].mKey, "NONE");
    EXPECT_EQ(font.mGlyphs[1].mKey, "!");
    EXPECT_EQ(font.mGlyphs[2].mKey, "\"");
    EXPECT_EQ(font.mGlyphs[58].mKey, "Z");
    EXPECT_EQ(font.mGlyphs[Font::GlyphIndex('7')].mKey, "7");
    EXPECT_EQ(font.mGlyphs[33].mTextureRect, &gImageBank.GetImage("A").mTextureRect);
}

TEST(Font, EveryCharacterAdvancesThePenTheSame)
{
    Font font;
    font.Init();
    const auto glyphs = font.Layout("Ab {C", 1.0f, 0.5f);
    ASSERT_EQ(glyphs.size(), 3u); // the space and "{" draw nothing
    EXPECT_EQ(glyphs[0].mIndex, 33);
    EXPECT_EQ(glyphs[1].mIndex, 34);
    EXPECT_EQ(glyphs[2].mIndex, 35);
    EXPECT_FLOAT_EQ(glyphs[0].mX, 1.06f);
    EXPECT_FLOAT_EQ(glyphs[0].mY, 0.45f);
    EXPECT_FLOAT_EQ(glyphs[1].mX, 1.12f);
    EXPECT_FLOAT_EQ(glyphs[2].mX, 1.30f); // two places further on

    const auto lower = font.Layout("panic!", 0.0f, 0.0f);
    const auto upper = font.Layout("PANIC!", 0.0f, 0.0f);
    ASSERT_EQ(lower.size(), upper.size());
    for (size_t i = 0; i < lower.size(); ++i)
    {
        EXPECT_EQ(lower[i].mIndex, upper[i].mIndex);
        EXPECT_EQ(lower[i].mX, upper[i].mX);
    }

    font.SetScale(2.0f);
    const auto wide = font.Layout("AB", 0.0f, 0.0f);
    EXPECT_FLOAT_EQ(wide[0].mX, 0.06f); // the first centre does not move with the scale
    EXPECT_FLOAT_EQ(wide[1].mX - wide[0].mX, 0.12f);
    EXPECT_TRUE(font.Layout("", 0.0f, 0.0f).empty());
}

TEST(Font, CentredTextStraddlesItsPoint)
{
    Font font;
    font.Init();
    EXPECT_FLOAT_EQ(font.CentredX("PANIC!", 0.5f), 0.5f - 0.18f);
    EXPECT_FLOAT_EQ(font.Layout("PANIC!", font.CentredX("PANIC!", 0.5f), 0)[0].mX, 0.5f - 0.18f + 0.06f);
    font.SetScale(0.5f);
    EXPECT_FLOAT_EQ(font.CentredX("ABCD", 0.0f), -0.06f);
}

TEST(Font, DrawingKeepsTheColourAndWarnsBehindTheCamera)
{
    Font font;
    font.Init();
    testing::internal::CaptureStderr();
    font.drawString("", 0.0f, 0.0f, 3.0f, 0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "drawString(): Text drawn behind the camera! String: \"\"\n");
    EXPECT_FLOAT_EQ(font.mColour[0], 0.1f);
    EXPECT_FLOAT_EQ(font.mColour[3], 0.4f);

    testing::internal::CaptureStderr();
    font.drawString("", 0.0f, 0.0f, 2.4f, 1, 1, 1, 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    font.SetScale(2.0f);
    font.drawStringCentered("HI", 0.0f, 0.0f, 0.0f, 0.5f, 0.6f, 0.7f, 0.8f);
    EXPECT_FLOAT_EQ(font.mColour[2], 0.7f);
    EXPECT_EQ(font.mGlyphs[Font::GlyphIndex('H')].mScale.mX, 2.0f);
}
