#include <gtest/gtest.h>

#include "Graphics/Font.h"
#include "World/Floating_Text.h"

namespace
{

Tint Colour(float r, float g, float b, float a)
{
    Tint tint;
    tint.Set(a, r, g, b);
    return tint;
}

void MarkFont()
{
    gFont.SetColour(-1.0f, -1.0f, -1.0f, -1.0f);
}

} // namespace

// Meant, not a slip: a text of N frames is drawn N - 1 times, never at its exact start or end.
TEST(FloatingText, LivesForItsFramesLessOne)
{
    Floating_Text_List list;
    list.Add("GONE", 1.0f, 0.4f, 0.3f, 0.5f, Colour(1, 1, 1, 1), 0.4f, 0.3f, 2.0f, Colour(1, 1, 1, 1));
    MarkFont();
    list.UpdateAndDraw();
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(gFont.mColour[0], -1.0f); // never drawn

    list.Add("GREAT!", 350.0f, 0.4f, 0.3f, 0.5f, Colour(1, 1, 1, 1), 0.4f, 0.3f, 2.0f, Colour(1, 1, 1, 1));
    list.UpdateAndDraw();
    ASSERT_EQ(list.Count(), 1u);
    const Floating_Text& text = list.GetTexts().front();
    EXPECT_FLOAT_EQ(Floating_Text_List::GetState(text).mZ, 2.0f + 349.0f / 350.0f * (0.5f - 2.0f));
    for (int i = 0; i < 348; ++i)
        list.UpdateAndDraw();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_FLOAT_EQ(Floating_Text_List::GetState(list.GetTexts().front()).mZ, 2.0f + (0.5f - 2.0f) / 350.0f);
    list.UpdateAndDraw();
    EXPECT_EQ(list.Count(), 0u);

    // Nothing that could divide by a zero lifetime.
    list.Add("NONE", 0.0f, 0, 0, 0, Colour(1, 1, 1, 1), 0, 0, 0, Colour(1, 1, 1, 1));
    list.UpdateAndDraw();
    EXPECT_EQ(list.Count(), 0u);
}

TEST(FloatingText, BlendsFromStartToEnd)
{
    Floating_Text_List list;
    list.Add("FADE", 4.0f, 0.0f, 1.0f, 0.0f, Colour(0, 0, 0, 0), 1.0f, 0.0f, 1.0f, Colour(1, 0, 0, 1));
    list.UpdateAndDraw();
    Floating_Text_State s = Floating_Text_List::GetState(list.GetTexts().front());
    EXPECT_FLOAT_EQ(s.mX, 0.25f);
    EXPECT_FLOAT_EQ(s.mY, 0.75f);
    EXPECT_FLOAT_EQ(s.mR, 0.25f);
    EXPECT_FLOAT_EQ(s.mA, 0.25f);
    EXPECT_FLOAT_EQ(gFont.mColour[0], 0.25f);
    EXPECT_FLOAT_EQ(gFont.mColour[3], 0.25f);
    list.UpdateAndDraw();
    list.UpdateAndDraw();
    s = Floating_Text_List::GetState(list.GetTexts().front());
    EXPECT_FLOAT_EQ(s.mA, 0.75f);
    EXPECT_FLOAT_EQ(s.mZ, 0.75f);
}

// Meant, not a slip: a floating text draws its tint's second component as blue and its
// third as green, so a colour given as (0, 0, 1) shows green.
TEST(FloatingText, GreenAndBlueTradePlaces)
{
    Floating_Text_List list;
    list.Add("BLUE", 10.0f, 0.5f, 0.5f, 0.0f, Colour(0, 0, 1, 1), 0.5f, 0.5f, 0.0f, Colour(0, 0, 1, 1));
    list.UpdateAndDraw();
    EXPECT_FLOAT_EQ(gFont.mColour[0], 0.0f);
    EXPECT_FLOAT_EQ(gFont.mColour[1], 1.0f);
    EXPECT_FLOAT_EQ(gFont.mColour[2], 0.0f);
    EXPECT_FLOAT_EQ(gFont.mColour[3], 1.0f);
}

TEST(FloatingText, DrawnInTheOrderAdded)
{
    Floating_Text_List list;
    list.Add("FIRST", 10.0f, 0, 0, 0, Colour(0.2f, 0, 0, 1), 0, 0, 0, Colour(0.2f, 0, 0, 1));
    list.Add("SECOND", 5.0f, 0, 0, 0, Colour(0.7f, 0, 0, 1), 0, 0, 0, Colour(0.7f, 0, 0, 1));
    list.Add("THIRD", 10.0f, 0, 0, 0, Colour(0.9f, 0, 0, 1), 0, 0, 0, Colour(0.9f, 0, 0, 1));
    list.UpdateAndDraw();
    EXPECT_FLOAT_EQ(gFont.mColour[0], 0.9f); // the last added is drawn last
    for (int i = 0; i < 4; ++i)
        list.UpdateAndDraw();
    // The middle one expired; the others keep their order.
    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.GetTexts().front().mText, "FIRST");
    EXPECT_EQ(list.GetTexts().back().mText, "THIRD");
}
