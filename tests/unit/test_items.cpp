// Items and pickups with the real runner: holding and letting go, the boost's 100
// frames, the spinner's turn, the cloak's and the clock's timing, the spring.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Core/Clock.h"
#include "Core/Game_Timer.h"
#include "Core/Globals.h"
#include "Entities/Bone.h"
#include "Entities/Boost_Item.h"
#include "Entities/Cloak_Item.h"
#include "Entities/Collision.h"
#include "Core/Game_Speed.h"
#include "Entities/Clock_Item.h"
#include "Entities/Player.h"
#include "Entities/Rock.h"
#include "Entities/Spike.h"
#include "Entities/Spinner_Item.h"
#include "Entities/Spring.h"
#include "Entities/Treasure.h"
#include "Input/Input_Handler.h"
#include "Level/Entity_Types.h"
#include "tests/support/Entity_Builder.h"
#include "World/Camera.h"

namespace
{
using test_entities::BuildInView;

// A runner at the start line, steered from the keyboard, nothing pressed.
Player& StartRunner()
{
    gKeyboardControl = true;
    gMouseControl = false;
    gPlayer.Restart();
    gPlayer.ClearScores();
    return gPlayer;
}

int32_t gNow = 0;
int32_t TestClock()
{
    return gNow;
}

float FpsInForce()
{
    return 1000.0f / gTimer.GetTargetFrameTime();
}
} // namespace

TEST(Items, TreasureVanishesAndPaysItsValue)
{
    auto t = BuildInView<Treasure>(16, {"IMAGE", "GEM_RED", "VALUE", "250"});
    EXPECT_EQ(t->mModel.mSets[0].mFrames[0].mKey, "GEM_RED");
    Player& p = StartRunner();
    p.TouchEntity(*t);
    EXPECT_EQ(p.mScore, 250);
    EXPECT_FALSE(t->mOnScreen);
    EXPECT_FALSE(t->mSolid);
    EXPECT_FALSE(t->Update(p));
    t->Reset(); // a restart lays it out again
    EXPECT_TRUE(t->mSolid);
}

// A boulder throws the runner back about 12 units, across the treasure and the bone it
// has just collected; running over them again must not pay a second time.
TEST(Items, AKnockedBackRunnerIsNotPaidTwice)
{
    Player& p = StartRunner();
    p.mHalfWidth = 0.1f;
    p.mHalfHeight = 0.1f;
    std::vector<std::unique_ptr<Entity>> run;
    run.push_back(BuildInView<Treasure>(16, {"IMAGE", "GEM_RED", "VALUE", "250"}));
    run.push_back(BuildInView<Bone>(5));
    run.push_back(BuildInView<Spike>(2, {"PLACEMENT", "floor"}));
    for (auto& e : run)
    {
        e->mHalfWidth = 0.1f;
        e->mHalfHeight = 0.1f;
    }
    run[0]->mZ = 305.5f;
    run[1]->mZ = 306.5f;
    run[2]->mZ = 308.5f;

    bool knocked = false;
    for (int frame = 0; frame < 1000 && p.mZ < 312.0f; ++frame)
    {
        p.Update(gInput);
        gCamera.SetPosition(p.mZ);
        CheckCollisions(p, run.data(), run.data() + run.size());
        if (p.mHitThisFrame && !knocked)
        {
            knocked = true;
            p.SetSpeed(-0.5f); // as a boulder throws it back
        }
    }
    ASSERT_TRUE(knocked);
    EXPECT_GE(p.mZ, 312.0f);
    EXPECT_EQ(p.mScore, 260);
}

TEST(Items, BoneIsHeldUsedOnceAndLetGo)
{
    Player& p = StartRunner();
    auto bone = BuildInView<Bone>(5);
    p.TouchEntity(*bone);
    EXPECT_EQ(p.mHeldItem, bone.get());
    EXPECT_FALSE(bone->mOnScreen);
    EXPECT_EQ(p.mScore, 0); // nothing until it is used

    p.Update(gInput);
    EXPECT_EQ(p.mScore, 10);
    EXPECT_FALSE(bone->mHoldable);
    p.Update(gInput);
    EXPECT_EQ(p.mHeldItem, nullptr);
    p.Update(gInput);
    EXPECT_EQ(p.mScore, 10);

    bone->Reset();
    EXPECT_TRUE(bone->mHoldable);
}

TEST(Items, SecondItemCreditsTheFirstAtOnce)
{
    Player& p = StartRunner();
    auto first = BuildInView<Bone>(5);
    auto second = BuildInView<Bone>(5);
    p.TouchEntity(*first);
    p.TouchEntity(*second);
    EXPECT_EQ(p.mScore, 10);
    EXPECT_EQ(p.mHeldItem, second.get());
    p.Update(gInput);
    EXPECT_EQ(p.mScore, 20);
    EXPECT_TRUE(first->mHoldable); // the dropped one was never used
}

TEST(Items, BoostHoldsTheBoostSpeedForAHundredFramesAndWaitsForTheBlock)
{
    Player& p = StartRunner();
    auto boost = BuildInView<Boost_Item>(3);
    p.mItemUseBlocked = true;
    p.TouchEntity(*boost);
    EXPECT_EQ(p.mHeldItem, boost.get());
    for (int i = 0; i < 5; ++i)
        p.Update(gInput);
    EXPECT_FLOAT_EQ(p.mSpeed, 1.0f); // blocked: not started
    EXPECT_FLOAT_EQ(boost->mTimer, 100.0f);

    p.ClearItemUseBlock();
    for (int frame = 1; frame <= 100; ++frame)
    {
        p.Update(gInput);
        ASSERT_FLOAT_EQ(p.mSpeed, 2.5f) << "frame " << frame;
        ASSERT_TRUE(boost->mHoldable) << "frame " << frame;
    }
    p.Update(gInput); // the 101st use ends it
    EXPECT_FLOAT_EQ(p.mSpeed, 1.0f);
    EXPECT_FALSE(boost->mHoldable);
    p.Update(gInput);
    EXPECT_EQ(p.mHeldItem, nullptr);

    boost->Reset();
    EXPECT_TRUE(boost->mHoldable);
    EXPECT_FLOAT_EQ(boost->mTimer, 100.0f);
    EXPECT_FALSE(boost->mUseSoundPlayed);
}

TEST(Items, BoostBlastsARockAndIsLostWithIt)
{
    Player& p = StartRunner();
    auto boost = BuildInView<Boost_Item>(3);
    auto rock = BuildInView<Rock>(1);
    p.TouchEntity(*boost);
    p.Update(gInput);
    ASSERT_FLOAT_EQ(p.mSpeed, 2.5f);
    p.TouchEntity(*rock);
    EXPECT_FALSE(rock->mSolid);
    EXPECT_EQ(p.mHeldItem, nullptr);
    EXPECT_NEAR(p.mSpeed, -0.5f, 1e-6f);
    p.Update(gInput);
    EXPECT_NEAR(p.mSpeed, -0.49f, 1e-5f); // recovering, no boost any more
}

TEST(Items, SpinnerTurnsTheViewOnceAroundAndEndsWithASmallCorrection)
{
    Player& p = StartRunner();
    auto s = BuildInView<Spinner_Item>(4);
    s->mDirection = 1.0f;

    // Untouched it spins on the spot and leaves the view alone.
    EXPECT_TRUE(s->Update(p));
    EXPECT_FLOAT_EQ(s->mModel.mRotation.mAngle, 24.0f);
    EXPECT_FLOAT_EQ(s->mTurnAngle, 0.0f);

    p.TouchEntity(*s);
    EXPECT_FALSE(s->mSolid);

    // The rate climbs by 0.1 a frame below 185 degrees.
    float angle = 0.0f, rate = 0.0f;
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_TRUE(s->Update(p));
        angle += rate;
        rate += 0.1f;
    }
    EXPECT_NEAR(s->mTurnAngle, 0.3f, 1e-5f);
    EXPECT_NEAR(s->GetViewTurn(), 0.3f, 1e-5f);
    EXPECT_NEAR(s->mTurnRate, 0.3f, 1e-5f);

    float previous = s->mTurnAngle;
    int frames = 3;
    while (s->Update(p))
    {
        ASSERT_LT(++frames, 1000);
        EXPECT_GE(s->mTurnAngle, previous); // never turns back
        EXPECT_NEAR(s->GetViewTurn(), s->mTurnAngle, 1e-4f);
        previous = s->mTurnAngle;
    }
    EXPECT_GT(s->mTurnAngle, 360.0f);
    EXPECT_NEAR(s->GetViewTurn(), 360.0f - s->mTurnAngle, 1e-4f);
    EXPECT_LT(s->GetViewTurn(), 0.0f);
    EXPECT_GT(s->GetViewTurn(), -10.0f);

    // The other way round, the last correction has the other sign.
    auto t = BuildInView<Spinner_Item>(4);
    t->mDirection = -1.0f;
    t->Touch(p);
    while (t->Update(p))
        ;
    EXPECT_GT(t->GetViewTurn(), 0.0f);
    EXPECT_NEAR(t->GetViewTurn(), -(360.0f - t->mTurnAngle), 1e-4f);

    t->Reset();
    EXPECT_FLOAT_EQ(t->mTurnAngle, 0.0f);
    EXPECT_FLOAT_EQ(t->mTurnRate, 0.0f);
    EXPECT_TRUE(t->mSolid);
}

TEST(Items, SpinnerPicksBothDirections)
{
    bool left = false, right = false;
    for (int i = 0; i < 200 && !(left && right); ++i)
    {
        auto s = BuildInView<Spinner_Item>(4);
        left = left || s->mDirection == -1.0f;
        right = right || s->mDirection == 1.0f;
        EXPECT_TRUE(s->mDirection == -1.0f || s->mDirection == 1.0f);
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}

TEST(Items, CloakLastsThreeHundredAndOneFramesThenGivesTheRunnerBack)
{
    Player& p = StartRunner();
    auto cloak = BuildInView<Cloak_Item>(9);
    p.TouchEntity(*cloak);
    EXPECT_FALSE(cloak->mOnScreen);
    EXPECT_FALSE(cloak->mSolid);
    EXPECT_FALSE(p.mCollidable);
    EXPECT_TRUE(p.mAnimation.mTint.mEnabled);
    EXPECT_FLOAT_EQ(p.mAnimation.mTint.mA, 0.25f);
    EXPECT_FLOAT_EQ(p.mAnimation.mTint.mR, 0.5f);

    int frames = 0;
    while (cloak->Update(p))
    {
        ++frames;
        ASSERT_FALSE(p.mCollidable) << "frame " << frames;
        ASSERT_LT(frames, 1000);
    }
    EXPECT_EQ(frames, 301);
    EXPECT_TRUE(p.mCollidable);
    EXPECT_FALSE(p.mAnimation.mTint.mEnabled);
    EXPECT_FLOAT_EQ(p.mAnimation.mTint.mA, 1.0f);

    cloak->Reset();
    EXPECT_FLOAT_EQ(cloak->mTimer, 300.0f);
    EXPECT_EQ(cloak->mWearer, nullptr);
    EXPECT_TRUE(cloak->mSolid);
    EXPECT_TRUE(cloak->mVanishOnTouch);
}

TEST(Items, ClockSlowsTheGameForThreeSecondsThenReturnsToSixtyStepByStep)
{
    SetClockSource(TestClock);
    gTimer.SetFps(60.0f);
    Player& p = StartRunner();
    {
        auto clock = BuildInView<Clock_Item>(7);
        gNow = 1000;
        p.TouchEntity(*clock);
        EXPECT_FALSE(clock->mSolid);
        EXPECT_NEAR(FpsInForce(), 20.0f, 1e-3f);

        gNow = 4000; // not yet past the end time
        EXPECT_TRUE(clock->Update(p));
        EXPECT_NEAR(FpsInForce(), 20.0f, 1e-3f);

        gNow = 4001;
        int steps = 0;
        float expected = 20.0f;
        while (clock->Update(p))
        {
            ++steps;
            expected += 1.0f;
            ASSERT_NEAR(FpsInForce(), expected, 1e-3f) << "step " << steps;
            ASSERT_LT(steps, 100);
        }
        EXPECT_EQ(steps, 40);
        EXPECT_FLOAT_EQ(gTimer.GetTargetFrameTime(), 1000.0f / 60.0f);
    }

    // A restart in the middle of a slow-down gives the normal rate back; so does
    // clearing the level.
    auto clock = BuildInView<Clock_Item>(7);
    gNow = 10000;
    clock->Touch(p);
    ASSERT_NEAR(FpsInForce(), 20.0f, 1e-3f);
    clock->Reset();
    EXPECT_FLOAT_EQ(gTimer.GetTargetFrameTime(), 1000.0f / 60.0f);
    EXPECT_TRUE(clock->mSolid);
    clock->Touch(p);
    ASSERT_NEAR(FpsInForce(), 20.0f, 1e-3f);
    clock.reset();
    EXPECT_FLOAT_EQ(gTimer.GetTargetFrameTime(), 1000.0f / 60.0f);

    // In a game at 60% its three seconds of play take five of the player's.
    gGameSpeed.SetPercent(60);
    auto slower = BuildInView<Clock_Item>(7);
    gNow = 20000;
    slower->Touch(p);
    gNow = 25000;
    EXPECT_TRUE(slower->Update(p));
    EXPECT_NEAR(FpsInForce(), 20.0f, 1e-3f);
    gNow = 25001;
    slower->Update(p);
    EXPECT_NEAR(FpsInForce(), 21.0f, 1e-3f);
    gGameSpeed.SetPercent(100);
    slower.reset();
    SetClockSource(nullptr);
}

TEST(Items, SpringLaunchesOnceAndComesBackOnARestart)
{
    Player& p = StartRunner();
    auto spring = BuildInView<Spring>(6);
    ASSERT_EQ(spring->mModel.mSets.size(), 3u);
    EXPECT_EQ(spring->mTouchSounds.size(), 1u);

    p.TouchEntity(*spring);
    EXPECT_EQ(p.mJumpState, 1);
    EXPECT_FLOAT_EQ(p.mVelocityY, -0.085f);
    EXPECT_FLOAT_EQ(p.mGravity, 0.0005f);
    EXPECT_FALSE(spring->mSolid);
    EXPECT_EQ(spring->mModel.mCurrentSet, 1);

    // Springing: another touch does not throw the runner again.
    p.mJumpState = 0;
    p.mVelocityY = 0.0f;
    spring->Touch(p);
    EXPECT_EQ(p.mJumpState, 0);
    EXPECT_FLOAT_EQ(p.mVelocityY, 0.0f);

    // The springing set plays out into the sprung loop.
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(spring->Update(p));
    EXPECT_EQ(spring->mModel.mCurrentSet, 2);
    spring->Touch(p);
    EXPECT_EQ(p.mJumpState, 0);

    // Left play, then the level restarts: every spring is back, loaded, with one sound.
    spring->mOnScreen = false;
    EXPECT_FALSE(spring->Update(p));
    spring->mAlive = false;
    for (int i = 0; i < 3; ++i)
        spring->Reset();
    EXPECT_TRUE(spring->mAlive);
    EXPECT_TRUE(spring->mSolid);
    EXPECT_EQ(spring->mModel.mCurrentSet, 0);
    EXPECT_FALSE(spring->mModel.mSets[1].mFinished);
    EXPECT_EQ(spring->mTouchSounds.size(), 1u);
    spring->Touch(p);
    EXPECT_EQ(p.mJumpState, 1);
}
