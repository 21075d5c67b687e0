// Where the 4:3 picture sits in any window, and when the world is drawn sharp (at the
// picture's size) or smooth (smaller, scaled up). No window needed.
#include <gtest/gtest.h>

#include "Graphics/Graphics.h"

namespace
{

TEST(Picture_Size, TheLargest4By3PictureCentredWithEvenBars)
{
    const struct
    {
        int mWindowWidth, mWindowHeight;
        Picture_Rect mPicture;
    } cases[] = {
        {800, 600, {0, 0, 800, 600}},       // today's window: the picture as it always was
        {1920, 1080, {240, 0, 1440, 1080}}, // a 16:9 screen
        {2560, 1600, {213, 0, 2133, 1600}}, // 16:10, a side that does not divide
        {800, 1000, {0, 200, 800, 600}},    // taller than 4:3
        {320, 240, {0, 0, 320, 240}},       // the smallest window
    };
    for (const auto& c : cases)
    {
        const Picture_Rect p = FitPicture(c.mWindowWidth, c.mWindowHeight);
        EXPECT_EQ(p.mX, c.mPicture.mX) << c.mWindowWidth << "x" << c.mWindowHeight;
        EXPECT_EQ(p.mY, c.mPicture.mY) << c.mWindowWidth << "x" << c.mWindowHeight;
        EXPECT_EQ(p.mWidth, c.mPicture.mWidth) << c.mWindowWidth << "x" << c.mWindowHeight;
        EXPECT_EQ(p.mHeight, c.mPicture.mHeight) << c.mWindowWidth << "x" << c.mWindowHeight;
    }
}

TEST(Picture_Size, ScaledUpTheWorldIsAWholeFractionOfThePictureWhereOneFitsElse800x600)
{
    const struct
    {
        int mPictureWidth, mPictureHeight;
        World_Scale mScale;
    } cases[] = {
        {1440, 1080, {720, 540, 2}}, // full screen on a 1080p screen
        {1600, 1200, {800, 600, 2}}, // at the largest a half may be
        {1280, 960, {640, 480, 2}},  // and at the smallest
        {2133, 1600, {711, 533, 3}}, // sides that do not divide: a pixel or two short
        {2880, 2160, {720, 540, 4}}, // 4K
        {1000, 750, {800, 600, 0}},  // a half would be too coarse: filtered
        {1276, 957, {800, 600, 0}},
    };
    for (const auto& c : cases)
    {
        const World_Scale s = ScaleWorldInto(c.mPictureWidth, c.mPictureHeight);
        EXPECT_EQ(s.mWidth, c.mScale.mWidth) << c.mPictureWidth << "x" << c.mPictureHeight;
        EXPECT_EQ(s.mHeight, c.mScale.mHeight) << c.mPictureWidth << "x" << c.mPictureHeight;
        EXPECT_EQ(s.mFactor, c.mScale.mFactor) << c.mPictureWidth << "x" << c.mPictureHeight;
    }
}

// Frames of the given cost, one every 16 ms, until the choice changes or the time is
// up; how long it took to change, or -1.
int32_t Frames(Resolution_Choice& choice, int32_t& now, int cost, int32_t duration)
{
    for (const int32_t start = now; now < start + duration;)
    {
        now += 16;
        if (choice.AddFrame(cost, now))
            return now - start;
    }
    return -1;
}

TEST(Picture_Size, SharpGivesWayToSlowFramesAndComesBackOnlyWhenItWouldFitAndNotAtOnce)
{
    const int32_t WINDOW = Resolution_Choice::WINDOW_MS, HOLD = Resolution_Choice::HOLD_MS;
    Resolution_Choice choice;
    int32_t now = 100000;
    choice.Reset(now);
    // At the budget, or over it on fewer than a tenth of the frames: stays sharp.
    EXPECT_EQ(Frames(choice, now, Resolution_Choice::BUDGET_MS, 5 * WINDOW), -1);
    for (int i = 0; i < 600; ++i)
    {
        now += 16;
        EXPECT_FALSE(choice.AddFrame(i % 20 == 0 ? 40 : 6, now));
    }
    EXPECT_TRUE(choice.IsSharp());

    // Sharp costs 16 ms: smooth within two judging windows (one may have begun lighter).
    EXPECT_NE(Frames(choice, now, 16, 2 * WINDOW + 100), -1);
    EXPECT_FALSE(choice.IsSharp());

    // Smooth costs 8 ms: sharp, twice that, would not fit, so it stays smooth.
    EXPECT_EQ(Frames(choice, now, 8, 10 * WINDOW), -1);
    // The scene gets lighter: smooth at 2 ms says sharp at about 4 ms: back to sharp.
    EXPECT_NE(Frames(choice, now, 2, 2 * WINDOW + 100), -1);
    EXPECT_TRUE(choice.IsSharp());

    // Slow again at once: the change waits for the hold since the last one.
    const int32_t waited = Frames(choice, now, 30, 3 * HOLD);
    EXPECT_GE(waited, HOLD);
    EXPECT_LE(waited, HOLD + WINDOW + 100);
    EXPECT_FALSE(choice.IsSharp());
}

} // namespace
