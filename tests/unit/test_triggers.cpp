// Triggers, hints and torches: the hint's timed phases, the torch's borrowed light,
// the fog fade, and the backdrop changes of the camera and scenery triggers.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Core/Clock.h"
#include "Entities/Camera_Trigger.h"
#include "Entities/Fog_Trigger.h"
#include "Entities/Hint_Trigger.h"
#include "Entities/Player.h"
#include "Entities/Scenery_Trigger.h"
#include "Entities/Torch.h"
#include "Entities/Treasure.h"
#include "Game/HUD.h"
#include "Graphics/Graphics.h"
#include "Level/Entity_Types.h"
#include "tests/support/Entity_Builder.h"
#include "World/Background_Handler.h"
#include "World/Environment_Handler.h"
#include "World/Floating_Text.h"

namespace
{
using test_entities::BuildInView;

int32_t gNow = 0;
int32_t TestClock()
{
    return gNow;
}

Player& StartRunner()
{
    gPlayer.Restart();
    gPlayer.ClearScores();
    gPlayer.mZ = 350.0f;
    return gPlayer;
}

const std::string& LastText()
{
    return gFloatingTexts.GetTexts().back().mText;
}
} // namespace

TEST(Triggers, HintStopsTheRunnerThenRunsItOffAgainWithTheDragon)
{
    SetClockSource(TestClock);
    gEnvironment.Init();
    gEnvironment.Reset();
    gEnvironment.gDragonDistance = 200.0f;
    gHUD.Show();
    Player& p = StartRunner();
    auto hint = BuildInView<Hint_Trigger>(10, {"HINT", "HINT_JUMP"});
    EXPECT_TRUE(hint->mInOverlayList);

    // Waiting: nothing happens.
    gNow = 500;
    const size_t textsBefore = gFloatingTexts.Count();
    EXPECT_TRUE(hint->Update(p));
    EXPECT_EQ(gFloatingTexts.Count(), textsBefore);
    EXPECT_FLOAT_EQ(p.mSpeed, 1.0f);

    gNow = 1000;
    p.TouchEntity(*hint);
    EXPECT_FALSE(hint->mSolid);
    EXPECT_FLOAT_EQ(p.mCheckpointZ, 350.0f);
    EXPECT_FLOAT_EQ(p.mCheckpointDragonZ, 200.0f);
    EXPECT_TRUE(p.mItemUseBlocked);
    EXPECT_FLOAT_EQ(gEnvironment.mDragonSpeed, 0.0f);
    EXPECT_EQ(hint->mHintFrame.mKey, "HINT_JUMP");

    // Hint phase: praise word once, HUD hidden, speed down 0.03 a frame to 0.2.
    EXPECT_TRUE(hint->Update(p));
    ASSERT_EQ(gFloatingTexts.Count(), textsBefore + 1);
    EXPECT_EQ(LastText(), hint->mPraiseWords[hint->mWordIndex]);
    EXPECT_FLOAT_EQ(gFloatingTexts.GetTexts().back().mFrames, 350.0f);
    EXPECT_TRUE(gHUD.IsHidden());
    EXPECT_NEAR(p.mSpeed, 0.97f, 1e-5f);
    for (int i = 0; i < 60; ++i)
    {
        gNow += 50; // up to 4000
        ASSERT_TRUE(hint->Update(p));
        ASSERT_GE(p.mSpeed, 0.2f);
    }
    EXPECT_FLOAT_EQ(p.mSpeed, 0.2f);
    EXPECT_EQ(gFloatingTexts.Count(), textsBefore + 1);
    gNow = 6000; // the phase's last moment
    EXPECT_TRUE(hint->Update(p));
    EXPECT_TRUE(hint->mHintActive);
    EXPECT_FLOAT_EQ(gEnvironment.mDragonSpeed, 0.0f);

    // Run phase: earthquake, title line, runner and dragon speed up together.
    gBackground.mQuakeActive = false;
    gNow = 6001;
    EXPECT_TRUE(hint->Update(p));
    EXPECT_FALSE(hint->mHintActive);
    EXPECT_TRUE(gBackground.mQuakeActive);
    EXPECT_EQ(gBackground.mQuakeFrames, 200);
    ASSERT_EQ(gFloatingTexts.Count(), textsBefore + 2);
    EXPECT_EQ(LastText(), "Zoomquest!");
    EXPECT_NEAR(p.mSpeed, 0.21f, 1e-5f);
    EXPECT_FLOAT_EQ(gEnvironment.mDragonSpeed, p.mSpeed);
    EXPECT_TRUE(p.mItemUseBlocked);

    // Full speed is reached well before the two seconds are up; it waits for both.
    int frames = 0;
    while (p.mSpeed < 1.0f)
    {
        ASSERT_TRUE(hint->Update(p));
        ASSERT_LT(++frames, 200);
    }
    EXPECT_FLOAT_EQ(p.mSpeed, 1.0f);
    gNow = 8001; // two seconds after the run phase began
    EXPECT_TRUE(hint->Update(p));
    EXPECT_TRUE(gHUD.IsHidden());
    gNow = 8002;
    EXPECT_FALSE(hint->Update(p));
    EXPECT_FALSE(gHUD.IsHidden());
    EXPECT_FALSE(p.mItemUseBlocked);
    EXPECT_EQ(gFloatingTexts.Count(), textsBefore + 2);

    // A restart arms it again.
    hint->Reset();
    EXPECT_TRUE(hint->mSolid);
    EXPECT_FALSE(hint->mHintActive);
    EXPECT_TRUE(hint->mTextPending);
    SetClockSource(nullptr);
}

TEST(Triggers, HintWithoutPictureStillStopsTheRunnerAndEveryPraiseWordShows)
{
    SetClockSource(TestClock);
    Player& p = StartRunner();
    auto hint = BuildInView<Hint_Trigger>(10, {"HINT", "None"});
    ASSERT_EQ(hint->mPraiseWords.size(), 14u);
    EXPECT_EQ(hint->mPraiseWords.back(), "Cool!");

    std::set<std::string> shown;
    for (int i = 0; i < 400 && shown.size() < 14; ++i)
    {
        hint->Reset();
        gNow = 100;
        hint->Touch(p);
        hint->Update(p);
        shown.insert(LastText());
        hint->DrawOverlay(); // no picture: nothing to turn or fade
        EXPECT_FLOAT_EQ(hint->mSpin, 12.0f);
    }
    EXPECT_EQ(shown.size(), 14u);
    EXPECT_EQ(shown.count("Cool!"), 1u);
    EXPECT_GT(p.mCheckpointZ, 0.0f);

    // A record without HINT behaves like None (after the usual missing-attribute line).
    auto bare = BuildInView<Hint_Trigger>(10);
    testing::internal::CaptureStdout();
    bare->Touch(p);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Oops, HINT is not an attribute!\n");
    EXPECT_EQ(bare->mHintFrame.mKey, "None");
    SetClockSource(nullptr);
}

TEST(Triggers, HintPictureSpinsInFadesInAndFadesOutAfterThreeSeconds)
{
    SetClockSource(TestClock);
    Player& p = StartRunner();
    auto hint = BuildInView<Hint_Trigger>(10, {"HINT", "HINT_JUMP"});
    gNow = 0;
    hint->Touch(p);
    hint->DrawOverlay();
    // Each of these moves it on, so a menu over it may not show a still copy.
    EXPECT_FALSE(hint->OverlayIsStill());
    EXPECT_FLOAT_EQ(hint->mHintFrame.mRotation.mAngle, 12.0f);
    EXPECT_NEAR(hint->mSpin, 11.9f, 1e-5f);
    EXPECT_NEAR(hint->mHintFrame.mTint.mA, 0.01f, 1e-6f);
    for (int i = 0; i < 150; ++i)
        hint->DrawOverlay();
    EXPECT_FALSE(hint->mFadingIn);
    const float full = hint->mHintFrame.mTint.mA;
    EXPECT_GE(full, 1.0f);
    EXPECT_LT(full, 1.02f);
    EXPECT_TRUE(hint->OverlayIsStill());
    hint->DrawOverlay();
    EXPECT_FLOAT_EQ(hint->mHintFrame.mTint.mA, full); // held until the fade time
    gNow = 3001;
    EXPECT_FALSE(hint->OverlayIsStill());
    hint->DrawOverlay();
    EXPECT_NEAR(hint->mHintFrame.mTint.mA, full - 0.005f, 1e-5f);
    while (hint->mHintFrame.mTint.mA > 0.0f)
        hint->DrawOverlay();
    EXPECT_TRUE(hint->OverlayIsStill()); // faded away
    SetClockSource(nullptr);
}

TEST(Triggers, TorchLightsFourHundredFiftyFramesThenRestoresTheFogOfItsOwnTouch)
{
    Player& p = StartRunner();
    gGraphics.SetFogParameters(0.5f, 2.0f, 10.0f);
    auto torch = BuildInView<Torch>(12);
    ASSERT_EQ(torch->mModel.mSets.size(), 3u);
    EXPECT_EQ(torch->mModel.mSets[0].mFrames.size(), 3u);

    p.TouchEntity(*torch);
    EXPECT_FALSE(torch->mOnScreen);
    EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 20.0f);

    // Something else changes the fog meanwhile; the torch keeps its light up.
    gGraphics.SetFogParameters(0.1f, 1.0f, 5.0f);
    for (int frame = 0; frame < 450; ++frame)
    {
        ASSERT_TRUE(torch->Update(p)) << frame;
        ASSERT_FLOAT_EQ(gGraphics.GetFogDensity(), 0.8f);
        ASSERT_FLOAT_EQ(gGraphics.GetFogStart(), 3.0f);
        ASSERT_FLOAT_EQ(gGraphics.GetFogEnd(), 20.0f);
    }
    EXPECT_FALSE(torch->Update(p));
    EXPECT_FLOAT_EQ(gGraphics.GetFogDensity(), 0.5f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogStart(), 2.0f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 10.0f);

    torch->Reset();
    EXPECT_EQ(torch->mCount, 0);
    EXPECT_TRUE(torch->mSolid);
}

TEST(Triggers, FogTriggerFadesOverFramesPlusOneAndEndsOnTheTarget)
{
    Player& p = StartRunner();
    gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);
    gGraphics.SetFogColour(0.0f, 0.0f, 0.0f);
    auto fog = BuildInView<Fog_Trigger>(13, {"R", "1", "G", "0.5", "B", "0.25", "PERCENT", "0.4",
                                             "START_DIST", "5", "END_DIST", "40", "FRAMES", "4.9"});
    EXPECT_EQ(fog->mFrames, 4);

    EXPECT_TRUE(fog->Update(p)); // not touched yet: no change
    EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 20.0f);

    p.TouchEntity(*fog);
    const float expectedEnd[] = {20.0f, 25.0f, 30.0f, 35.0f, 40.0f};
    for (float end : expectedEnd)
    {
        ASSERT_TRUE(fog->Update(p));
        EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), end);
    }
    EXPECT_FALSE(fog->Update(p));
    EXPECT_FLOAT_EQ(gGraphics.GetFogDensity(), 0.4f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogStart(), 5.0f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogColour()[0], 1.0f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogColour()[1], 0.5f);
    EXPECT_FLOAT_EQ(gGraphics.GetFogColour()[2], 0.25f);

    // After a restart the same fade runs again from the fog then in force.
    fog->Reset();
    gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);
    p.TouchEntity(*fog);
    int frames = 0;
    while (fog->Update(p))
        ++frames;
    EXPECT_EQ(frames, 5);
    EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 40.0f);
}

TEST(Triggers, FogTriggerWithNoFramesTakesTwoFramesAndStaysFinite)
{
    Player& p = StartRunner();
    for (const char* frames : {"0", "-3", "1"})
    {
        gGraphics.SetFogParameters(0.8f, 3.0f, 20.0f);
        auto fog = BuildInView<Fog_Trigger>(13, {"R", "0", "G", "0", "B", "0", "PERCENT", "0.2", "START_DIST",
                                                 "1", "END_DIST", "10", "FRAMES", frames});
        EXPECT_EQ(fog->mFrames, 1) << frames;
        fog->Touch(p);
        EXPECT_TRUE(fog->Update(p));
        EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 20.0f); // the saved values first
        EXPECT_TRUE(fog->Update(p));
        EXPECT_FLOAT_EQ(gGraphics.GetFogEnd(), 10.0f);
        EXPECT_FALSE(fog->Update(p));
        EXPECT_TRUE(std::isfinite(gGraphics.GetFogDensity()));
    }
}

TEST(Triggers, SceneryAndCameraTriggersHandTheirValuesToTheBackdrop)
{
    Player& p = StartRunner();
    auto scenery =
        BuildInView<Scenery_Trigger>(14, {"CEILING", "ICE_CEILING", "FLOOR", "ICE_FLOOR", "WALL", "ICE_WALL",
                                          "FRAMES", "120.7", "ALPHA", "1", "HUDTEXTURE", "HUD_ICE"});
    gBackground.mFadeTarget = 0.0f;
    p.TouchEntity(*scenery);
    EXPECT_FALSE(scenery->mSolid);
    EXPECT_EQ(gBackground.mOverlayCeiling, "ICE_CEILING");
    EXPECT_EQ(gBackground.mOverlayFloor, "ICE_FLOOR");
    EXPECT_EQ(gBackground.mOverlayWall, "ICE_WALL");
    EXPECT_FLOAT_EQ(gBackground.mFadeTarget, 1.0f);
    EXPECT_FLOAT_EQ(gBackground.mFadeFrames, 120.0f);
    EXPECT_EQ(gHUD.GetTexture(), "HUD_ICE");

    auto camera = BuildInView<Camera_Trigger>(
        11, {"HalfWidth", "0.75", "Distance", "90", "Yaw", "-0.3", "Pitch", "0.2"});
    EXPECT_FLOAT_EQ(camera->mHalfWidth, 0.75f);
    p.TouchEntity(*camera);
    EXPECT_FALSE(camera->mSolid);
    EXPECT_FLOAT_EQ(gBackground.mShiftXTarget, -0.3f);
    EXPECT_FLOAT_EQ(gBackground.mShiftYTarget, 0.2f);
    EXPECT_FLOAT_EQ(gBackground.mShiftXFrames, 90.0f);
    EXPECT_FLOAT_EQ(gBackground.mShiftYFrames, 90.0f);
}

TEST(Triggers, CountsOutOfRangeAreClampedWithOneLineEach)
{
    // A cast of 1e10 to int is undefined; the game takes the nearest sane count instead.
    Player& p = StartRunner();
    testing::internal::CaptureStdout();
    auto fog = BuildInView<Fog_Trigger>(13, {"R", "0", "G", "0", "B", "0", "PERCENT", "0.2", "START_DIST",
                                             "1", "END_DIST", "10", "FRAMES", "1e10"});
    auto scenery =
        BuildInView<Scenery_Trigger>(14, {"CEILING", "None", "FLOOR", "None", "WALL", "None", "FRAMES",
                                          "-1e10", "ALPHA", "0.5", "HUDTEXTURE", "HUD_ICE"});
    auto camera = BuildInView<Camera_Trigger>(
        11, {"HalfWidth", "-0.5", "Distance", "2000000000", "Yaw", "0.1", "Pitch", "0"});
    p.TouchEntity(*scenery);
    p.TouchEntity(*camera);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(fog->mFrames, 36000);
    EXPECT_FLOAT_EQ(gBackground.mFadeFrames, 1.0f);
    EXPECT_FLOAT_EQ(camera->mHalfWidth, 0.01f); // not a flipped box
    EXPECT_FLOAT_EQ(gBackground.mShiftXFrames, 36000.0f);
    EXPECT_EQ(out, "Oops, FRAMES 1e+10 is out of range, using 36000!\n"
                   "Oops, HalfWidth -0.5 is out of range, using 0.01!\n"
                   "Oops, FRAMES -1e+10 is out of range, using 1!\n"
                   "Oops, Distance 2e+09 is out of range, using 36000!\n");
}

// The ends of a range are in it, and a whole number keeps every digit, even one a float
// would round.
TEST(Triggers, NumbersAtTheEndsOfTheirRangesAreTakenAsWritten)
{
    testing::internal::CaptureStdout();
    auto fog = BuildInView<Fog_Trigger>(13, {"R", "0", "G", "0", "B", "0", "PERCENT", "0.2", "START_DIST",
                                             "1", "END_DIST", "10", "FRAMES", "1"});
    auto camera =
        BuildInView<Camera_Trigger>(11, {"HalfWidth", "10", "Distance", "36000", "Yaw", "0", "Pitch", "0"});
    auto gem = BuildInView<Treasure>(0, {"IMAGE", "GEM", "VALUE", "2147483647", "SIZE", "0.01"});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(fog->mFrames, 1);
    EXPECT_FLOAT_EQ(camera->mHalfWidth, 10.0f);
    EXPECT_EQ(gem->mScoreValue, INT32_MAX);
    EXPECT_FLOAT_EQ(gem->mSize, 0.01f);
}

TEST(Triggers, RecordsWithoutValuesSayWhatIsMissingAndStillWork)
{
    Player& p = StartRunner();
    testing::internal::CaptureStdout();
    auto fog = BuildInView<Fog_Trigger>(13, {"R", "0.5", "END_DIST", "far"});
    auto camera = BuildInView<Camera_Trigger>(11);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Oops, FRAMES is not an attribute!\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Oops, far is not a float!\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Oops, HalfWidth is not an attribute!\n"), std::string::npos) << out;

    // The fog heads for the usual cave fog, never a fog that ends at the camera.
    EXPECT_FLOAT_EQ(fog->mTargetColour[0], 0.5f);
    EXPECT_FLOAT_EQ(fog->mTargetDensity, 0.8f);
    EXPECT_FLOAT_EQ(fog->mTargetStart, 3.0f);
    EXPECT_FLOAT_EQ(fog->mTargetEnd, 20.0f);
    EXPECT_EQ(fog->mFrames, 60);

    // A camera trigger without a width still spans the corridor and glides back to centre.
    EXPECT_FLOAT_EQ(camera->mHalfWidth, 0.5f);
    testing::internal::CaptureStdout();
    p.TouchEntity(*camera);
    testing::internal::GetCapturedStdout();
    EXPECT_FLOAT_EQ(gBackground.mShiftXTarget, 0.0f);
    EXPECT_FLOAT_EQ(gBackground.mShiftXFrames, 100.0f);

    // A scenery change without a HUD frame keeps the frame the HUD has.
    gHUD.SetTexture("HUD_CAVE");
    auto scenery = BuildInView<Scenery_Trigger>(14, {"CEILING", "C", "FLOOR", "F", "WALL", "W"});
    testing::internal::CaptureStdout();
    p.TouchEntity(*scenery);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(gHUD.GetTexture(), "HUD_CAVE");
    EXPECT_EQ(gBackground.mOverlayWall, "W");
}
