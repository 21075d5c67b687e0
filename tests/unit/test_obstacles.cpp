// Obstacles: what each does to the runner's speed, the rock that only a boost breaks,
// the boulder's bounces and the spike's fallback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Entities/Boulder.h"
#include "Entities/Hole.h"
#include "Entities/Player.h"
#include "Entities/Rock.h"
#include "Entities/Spike.h"
#include "Entities/Stalactite.h"
#include "Graphics/Image_Bank.h"
#include "Level/Entity_Types.h"
#include "tests/support/Entity_Builder.h"

namespace
{
using test_entities::Build;

Player FreshPlayer(float speed)
{
    Player p;
    p.Reset();
    p.SetSpeed(speed);
    p.mAccelerating = false;
    p.mHitThisFrame = false;
    return p;
}
} // namespace

TEST(Obstacles, EachKnockSetsItsSpeedAndMarksTheHit)
{
    struct Case
    {
        int code;
        float speed;
        float expected;
    };
    const Case cases[] = {
        {18, 1.0f, -0.5f}, // boulder: back at half speed
        {1, 1.0f, -0.2f},  // rock without a boost: back at a fifth
        {2, 1.0f, 0.4f},   // spike keeps 0.4
        {15, 1.0f, 0.0f},  // stalactite stops dead
        {2, 0.5f, 0.2f},   {18, 2.0f, -1.0f},
    };
    for (const Case& c : cases)
    {
        std::unique_ptr<Entity> e(CreateEntity(c.code));
        e->Init(0.5f, 400.0f, {"PLACEMENT", "floor"});
        e->Setup();
        Player p = FreshPlayer(c.speed);
        p.TouchEntity(*e);
        EXPECT_NEAR(p.mSpeed, c.expected, 1e-6f) << "code " << c.code;
        EXPECT_TRUE(p.mAccelerating) << "code " << c.code;
        EXPECT_TRUE(p.mHitThisFrame) << "code " << c.code;
        EXPECT_TRUE(e->mSolid) << "code " << c.code << " must stay solid";
        EXPECT_EQ(p.mScore, 0);
    }

    // A hole does nothing to the runner.
    auto hole = Build<Hole>(8, 0.5f, 100.0f);
    Player p = FreshPlayer(1.0f);
    p.TouchEntity(*hole);
    EXPECT_FLOAT_EQ(p.mSpeed, 1.0f);
    EXPECT_FALSE(p.mHitThisFrame);
    EXPECT_FALSE(p.mAccelerating);
    EXPECT_FLOAT_EQ(hole->mModel.mSets[0].mFrames[0].mRotation.mAngle, -90.0f);
}

TEST(Obstacles, RockBreaksOnlyAtExactlyTheBoostSpeed)
{
    const std::unique_ptr<Entity> boost = CreateEntity(3);
    Entity* item = boost.get(); // carried
    // Short of the boost speed either way the rock throws the runner back at a fifth of it.
    for (auto [speed, thrown] : {std::pair<float, float>{2.49f, -0.498f}, {2.51f, -0.502f}})
    {
        auto rock = Build<Rock>(1, 0.5f, 50.0f);
        Player p = FreshPlayer(speed);
        p.mHeldItem = item;
        p.TouchEntity(*rock);
        EXPECT_TRUE(rock->mSolid) << speed;
        EXPECT_EQ(rock->mModel.mCurrentSet, 0) << speed;
        EXPECT_EQ(p.mHeldItem, item) << speed;
        EXPECT_NEAR(p.mSpeed, thrown, 1e-5f);
    }

    auto rock = Build<Rock>(1, 0.5f, 50.0f);
    EXPECT_FLOAT_EQ(rock->GetCollisionMargin(), 0.1f);
    Player p = FreshPlayer(2.5f);
    p.mHeldItem = item;
    rock->mOnScreen = true;
    p.TouchEntity(*rock);
    EXPECT_FALSE(rock->mSolid);
    EXPECT_EQ(rock->mModel.mCurrentSet, 1);
    EXPECT_EQ(p.mHeldItem, nullptr);
    EXPECT_NEAR(p.mSpeed, -0.5f, 1e-6f);
    EXPECT_TRUE(p.mHitThisFrame);

    // The blast plays out (five frames at rate 2), then the rock leaves play.
    int frames = 0;
    while (rock->Update(p))
    {
        ASSERT_LT(++frames, 200);
    }
    EXPECT_GT(frames, 5);
    EXPECT_FALSE(rock->mOnScreen);

    rock->Reset();
    EXPECT_TRUE(rock->mSolid);
    EXPECT_EQ(rock->mModel.mCurrentSet, 0);
    EXPECT_FALSE(rock->mModel.mSets[1].mFinished);
}

TEST(Obstacles, BoulderBouncesOffWallsAndFloorAndRollsPastTheRunner)
{
    srand(1234);
    auto b = Build<Boulder>(18, 0.5f, 100.0f);
    // Reset drew sideways first, then downward.
    srand(1234);
    const int r1 = rand();
    const int r2 = rand();
    EXPECT_FLOAT_EQ(b->mSpeedX, ((r1 % 1000) * 0.001f + 1.0f) * 0.011666667f);
    EXPECT_FLOAT_EQ(b->mSpeedY, (r2 % 1000) * 0.000011666667f);
    EXPECT_FLOAT_EQ(b->mZ, 400.0f);
    EXPECT_FLOAT_EQ(b->mStartZ, 400.0f);
    EXPECT_TRUE(b->mModel.mSets[0].mLoop);
    EXPECT_EQ(b->mModel.mSets[0].mFrames[0].mDuration, 5);

    Player p = FreshPlayer(1.0f);
    p.mZ = 300.0f;

    // Left wall: landing exactly on the limit counts as touching it.
    b->mMinX = 0.125f;
    b->mMaxX = 0.8f;
    b->mFloorY = 0.9f;
    b->mX = 0.25f;
    b->mSpeedX = -0.125f;
    b->mY = 0.5f;
    b->mSpeedY = 0.0f;
    EXPECT_TRUE(b->Update(p));
    EXPECT_FLOAT_EQ(b->mX, 0.13f);
    EXPECT_FLOAT_EQ(b->mSpeedX, 0.125f);
    EXPECT_FLOAT_EQ(b->mSpeedY, 0.002f);

    // Right wall.
    b->mX = 0.79f;
    b->mSpeedX = 0.02f;
    b->Update(p);
    EXPECT_FLOAT_EQ(b->mX, 0.795f);
    EXPECT_FLOAT_EQ(b->mSpeedX, -0.02f);

    // Floor: back up at nine tenths of the speed.
    b->mY = 0.85f;
    b->mSpeedY = 0.1f;
    b->Update(p);
    EXPECT_FLOAT_EQ(b->mY, 0.895f);
    EXPECT_FLOAT_EQ(b->mSpeedY, -0.102f * 0.9f);

    // Rolls 0.1 a frame and leaves play once 10 behind the runner.
    b->mZ = 290.15f;
    EXPECT_TRUE(b->Update(p));  // 290.05
    EXPECT_FALSE(b->Update(p)); // 289.95

    // The touch knocks the runner back; the boulder keeps coming.
    Player q = FreshPlayer(1.0f);
    b->Touch(q);
    EXPECT_FLOAT_EQ(q.mSpeed, -0.5f);
    EXPECT_TRUE(b->mSolid);

    b->mAlive = false;
    b->Reset();
    EXPECT_FLOAT_EQ(b->mZ, 400.0f);
    EXPECT_FLOAT_EQ(b->mY, b->mStartY);
    EXPECT_FLOAT_EQ(b->mRollSpeed, 0.1f);
    EXPECT_TRUE(b->mAlive);
}

TEST(Obstacles, SpikePlacementPicksItsImageAndFallsBackToTheFloor)
{
    struct Case
    {
        std::vector<std::string> words;
        const char* key;
        bool message;
    };
    const Case cases[] = {
        {{"PLACEMENT", "floor"}, "SPIKE", false},
        {{"PLACEMENT", "left"}, "LEFTSPIKE", false},
        {{"PLACEMENT", "right"}, "RIGHTSPIKE", false},
        {{"PLACEMENT", "ceiling"}, "SPIKE", true},
        {{}, "SPIKE", true},
    };
    for (const Case& c : cases)
    {
        testing::internal::CaptureStdout();
        auto s = Build<Spike>(2, 0.3f, 10.0f, c.words);
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_EQ(s->mModel.mSets.size(), 1u);
        ASSERT_EQ(s->mModel.mSets[0].mFrames.size(), 1u);
        EXPECT_EQ(s->mModel.mSets[0].mFrames[0].mKey, c.key);
        if (c.message)
        {
            EXPECT_NE(out.find("Spike: unknown PLACEMENT"), std::string::npos) << out;
            EXPECT_NE(out.find("using the floor spike."), std::string::npos) << out;
            EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        }
        else
        {
            EXPECT_EQ(out, "");
        }
    }
}

TEST(Obstacles, StalactiteExtentsCarryItsSize)
{
    Image_Entry& image = gImageBank.GetImage("STALACTITE");
    image.mHalfWidthFraction = 0.1f;
    image.mHalfHeightFraction = 0.3f;
    auto s = Build<Stalactite>(15, 0.5f, 0.0f, {"SIZE", "2"});
    EXPECT_FLOAT_EQ(s->mHalfWidth, 0.2f);
    EXPECT_FLOAT_EQ(s->mHalfHeight, 0.6f);

    Image_Entry& rockImage = gImageBank.GetImage("ROCK");
    rockImage.mHalfWidthFraction = 0.1f;
    auto r = Build<Rock>(1, 0.5f, 0.0f, {"SIZE", "2"});
    EXPECT_FLOAT_EQ(r->mHalfWidth, 0.1f); // others leave the size to the box
    EXPECT_FLOAT_EQ(r->mModel.mSets[0].mScale.mX, 2.0f);
}
