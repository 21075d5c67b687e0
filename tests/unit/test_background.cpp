#include <gtest/gtest.h>

#include <vector>

#include "Core/Clock.h"
#include "Core/Game_Speed.h"
#include "Core/Globals.h"
#include "World/Background_Handler.h"
#include "World/Camera.h"

namespace
{
int32_t gFakeNow = 0;
int32_t FakeClock()
{
    return gFakeNow;
}

class BackgroundTest : public testing::Test
{
protected:
    void SetUp() override
    {
        gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 500.0f);
        background.Init();
    }
    void TearDown() override { SetClockSource(nullptr); }
    std::vector<float> ShiftsOver(int frames)
    {
        std::vector<float> shifts;
        for (int i = 0; i < frames; ++i)
        {
            background.Update(panic);
            shifts.push_back(background.mShiftX);
        }
        return shifts;
    }
    Background_Handler background;
    float panic = 0.0f; // the HUD's, as the main loop passes it on
};
} // namespace

TEST_F(BackgroundTest, QuakeAlternatesAndRestoresTheShift)
{
    background.StartEarthquake(100, 10.0f);
    std::vector<float> shifts = ShiftsOver(103);
    for (int i = 0; i < 100; ++i)
        ASSERT_FLOAT_EQ(i % 2 == 0 ? 1.0f : 0.0f, shifts[i]) << "frame " << i;
    EXPECT_FLOAT_EQ(0.0f, shifts[100]);
    EXPECT_FLOAT_EQ(0.0f, shifts[102]);
    EXPECT_FALSE(background.mQuakeActive);

    // A quake of no length jolts and restores in the same update.
    background.StartEarthquake(0, 5.0f);
    EXPECT_FLOAT_EQ(0.0f, ShiftsOver(1)[0]);
    EXPECT_FALSE(background.mQuakeActive);

    // The camera's far frame follows the shift; the near frame stays put.
    background.StartEarthquake(4, 10.0f);
    background.Update(panic);
    EXPECT_FLOAT_EQ(-0.75f, gCamera.GetFarFrame().mLeft);
    EXPECT_FLOAT_EQ(-1.75f, gCamera.GetNearFrame().mLeft);
}

TEST_F(BackgroundTest, QuakeDuringTheLevelStartGlide)
{
    background.Reset();
    background.StartEarthquake(100, 10.0f);
    std::vector<float> shifts = ShiftsOver(102);
    for (int i = 0; i < 100; ++i)
        ASSERT_FLOAT_EQ(i % 2 == 0 ? 1.0f : -1.0f, shifts[i]) << "frame " << i;
    // The glide is over, so the last jolts are not undone by it.
    EXPECT_FLOAT_EQ(-1.0f, shifts[100]);
    EXPECT_FLOAT_EQ(-1.0f, shifts[101]);
}

// Meant, not a slip: a glide or fade last sets start + (target - start) x (frames - 1) / frames
// and stays there, one step short of its target.
TEST_F(BackgroundTest, GlidesStopOneStepShort)
{
    background.SetShiftX(1.0f, 4);
    background.SetShiftY(-0.5f, 2);
    std::vector<float> shifts = ShiftsOver(6);
    EXPECT_EQ((std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 0.75f, 0.75f}), shifts);
    EXPECT_FLOAT_EQ(-0.25f, background.mShiftY);
    EXPECT_FLOAT_EQ(-1.75f + 0.75f, gCamera.GetFarFrame().mLeft);
    EXPECT_FLOAT_EQ(1.0f - 0.25f, gCamera.GetFarFrame().mTop);

    // A new glide starts from where the last one stopped; one frame never moves.
    background.SetShiftX(0.0f, 1);
    EXPECT_FLOAT_EQ(0.75f, ShiftsOver(3)[2]);
    background.CentreShift(3);
    shifts = ShiftsOver(4);
    EXPECT_FLOAT_EQ(0.75f, shifts[0]);
    EXPECT_FLOAT_EQ(0.25f, shifts[3]);
}

TEST_F(BackgroundTest, FadeIsNotRestartedByTheSameRequest)
{
    background.StartFade(0.5f, 60);
    for (int i = 0; i < 30; ++i)
        background.Update(panic);
    const float halfway = background.mFadeAlpha;
    background.StartFade(0.5f, 60);
    background.Update(panic);
    EXPECT_GT(background.mFadeAlpha, halfway);
    for (int i = 0; i < 40; ++i)
        background.Update(panic);
    EXPECT_FLOAT_EQ(0.5f * 59.0f / 60.0f, background.mFadeAlpha);

    // A different request starts from the current alpha.
    background.StartFade(0.0f, 2);
    background.Update(panic);
    EXPECT_FLOAT_EQ(0.5f * 59.0f / 60.0f, background.mFadeAlpha);
    background.Update(panic);
    EXPECT_FLOAT_EQ(0.25f * 59.0f / 60.0f, background.mFadeAlpha);

    // The tint lasts one drawing only.
    background.SetTint(1.0f, 0.0f, 0.0f, 0.5f);
    background.Draw();
    for (float c : background.mTint)
        EXPECT_EQ(1.0f, c);
}

TEST_F(BackgroundTest, PanicQuakesEvery750Milliseconds)
{
    SetClockSource(&FakeClock);
    gFakeNow = 10000;
    panic = 0.7f;
    background.Update(panic);
    gFakeNow = 20000;
    background.Update(panic);
    EXPECT_FALSE(background.mQuakeActive);

    panic = 0.8f;
    background.Update(panic);
    EXPECT_FALSE(background.mQuakeActive);
    gFakeNow = 20750;
    background.Update(panic);
    EXPECT_FALSE(background.mQuakeActive);
    gFakeNow = 20751;
    background.Update(panic);
    EXPECT_TRUE(background.mQuakeActive);
    EXPECT_EQ(8, background.mQuakeFrames);
    EXPECT_FLOAT_EQ(5.0f, background.mQuakeAmplitude);

    // Re-armed on the next update; panic then falls, but the armed timer still fires
    // as soon as panic is back.
    background.Update(panic);
    panic = 0.2f;
    background.mQuakeActive = false;
    gFakeNow = 40000;
    background.Update(panic);
    EXPECT_FALSE(background.mQuakeActive);
    panic = 0.9f;
    background.Update(panic);
    EXPECT_TRUE(background.mQuakeActive);
}

// A slower game spaces the panic quakes out as it slows play, and with shaking reduced
// they rock the cave a fifth as far.
TEST_F(BackgroundTest, PanicQuakesFollowTheGameSpeedAndReducedShaking)
{
    SetClockSource(&FakeClock);
    gGameSpeed.SetPercent(60);
    gReduceFlashing = true;
    panic = 0.9f;
    gFakeNow = 50000;
    background.Update(panic);
    gFakeNow = 60000; // whatever timer was armed fires
    background.Update(panic);
    ASSERT_TRUE(background.mQuakeActive);
    background.mQuakeActive = false;
    gFakeNow = 70000;
    background.Update(panic);
    gFakeNow = 71000;
    background.Update(panic);
    EXPECT_FALSE(background.mQuakeActive);
    gFakeNow = 71251;
    background.Update(panic);
    EXPECT_TRUE(background.mQuakeActive);
    EXPECT_FLOAT_EQ(1.0f, background.mQuakeAmplitude);
    gGameSpeed.SetPercent(100);
    gReduceFlashing = false;
}
