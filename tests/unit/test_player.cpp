#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <algorithm>
#include <cstdlib>

#include "Core/Globals.h"
#include "Entities/Player.h"
#include "Input/Input_Handler.h"
#include "Input/Keys.h"
#include "World/Camera.h"
#include "World/Entity.h"
#include "World/Entity_Handler.h"
#include "World/Environment_Handler.h"
#include "tools/runners/Key_Pusher.h"

namespace
{
class Item : public Entity
{
public:
    explicit Item(int value, bool holdable)
    {
        mScoreValue = value;
        mHoldable = holdable;
        Init(0.5f, 400.0f, {});
    }
    void Setup() override {}
    void Use(Player& player) override
    {
        ++mUses;
        Entity::Use(player);
    }
    void Touch(Player& player) override
    {
        ++mTouches;
        Entity::Touch(player);
    }
    int mUses = 0;
    int mTouches = 0;
};

// Key events go through SDL's own queue (dummy video driver, no window) into a real
// Input_Handler, one event per input update as in the game.
class PlayerTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(0, SDL_Init(SDL_INIT_VIDEO)) << SDL_GetError();
    }
    static void TearDownTestSuite() { SDL_Quit(); }

    void SetUp() override
    {
        SDL_Event stale;
        while (SDL_PollEvent(&stale))
            ;
        input.Init(0, 800);
        for (int key : {KEY_SPACE, KEY_LEFT, KEY_RIGHT})
            input.RegisterKey(key);
        gKeyboardControl = true;
        gMouseControl = false;
        gEnvironment.gDragonDistance = 0.0f;
        gCamera.Init(0.0f, 1000.0f, 0.0f, 1.0f, 500.0f);
        player.Init();
        player.mHalfWidth = 0.1f;
        player.mHalfHeight = 0.2f;
        gCamera.SetPosition(player.mZ);
    }

    void Key(int key, bool down)
    {
        ASSERT_TRUE(test_keys::PushKey(key, down));
        input.Update();
    }
    // One frame of play as the main loop runs it.
    void Frame()
    {
        player.Update(input);
        gCamera.SetPosition(player.mZ);
    }
    void IdleFrame()
    {
        input.Update();
        Frame();
    }

    Input_Handler input;
    Player player;
};
} // namespace

// Pixel column of a screen-plane x at a screen depth in the 800 by 600 window: the eye
// stands 2.41 in front of the plane and sees 22.5 degrees up and down.
static float PixelColumn(float x, float depth)
{
    const float halfWidth = (2.41f - depth) * 0.41421356f * 4.0f / 3.0f;
    return 400.0f + 400.0f * x / halfWidth;
}

TEST_F(PlayerTest, SteeringStaysInsideTheWalls)
{
    // Far down the corridor all of its width is in the picture: the walls stop the runner.
    gCamera.SetPosition(player.mZ - 200.0f);
    player.SetX(0.95f);
    EXPECT_FLOAT_EQ(0.9f, player.mX);
    player.SetX(0.02f);
    EXPECT_FLOAT_EQ(0.1f, player.mX);

    // Where the runner really is, next to the camera, the window shows only 1.441 either
    // side of the middle of the 3.5-wide corridor: its edge stops the runner first.
    gCamera.SetPosition(player.mZ);
    player.SetX(0.95f);
    EXPECT_NEAR(0.88974f, player.mX, 1e-4f);
    player.SetX(0.02f);
    EXPECT_NEAR(0.11026f, player.mX, 1e-4f);

    player.mX = 0.5f;
    Key(KEY_RIGHT, true);
    Frame();
    EXPECT_FLOAT_EQ(0.515f, player.mX);
    for (int i = 0; i < 40; ++i)
        IdleFrame();
    EXPECT_NEAR(0.88974f, player.mX, 1e-4f);

    // Both held: right is applied (and clamped), then left.
    Key(KEY_LEFT, true);
    Frame();
    EXPECT_NEAR(0.87474f, player.mX, 1e-4f);
    Key(KEY_RIGHT, false);
    Frame();
    EXPECT_NEAR(0.85974f, player.mX, 1e-4f);

    // Neither control mode: no steering at all.
    gKeyboardControl = false;
    IdleFrame();
    EXPECT_NEAR(0.85974f, player.mX, 1e-4f);
}

TEST_F(PlayerTest, TheWholeThiefStaysInTheWindowAtEitherWall)
{
    // The thief's own picture, as the image list sizes it.
    player.mHalfWidth = 0.04218f;
    player.mHalfHeight = 0.14f;
    auto edges = [&](float& left, float& right)
    {
        const Quad body = gCamera.ProjectBox(player.mX, player.mY, 2.0f * player.mHalfWidth,
                                             2.0f * player.mHalfHeight, player.mZ);
        left = PixelColumn(body.mX - body.mWidth / 2.0f, body.mZ);
        right = PixelColumn(body.mX + body.mWidth / 2.0f, body.mZ);
    };
    float left, right;
    // Steered hard into each wall, then with the far end of the corridor turned aside
    // and the runner in the air: inside the window, and right up against its edge.
    for (float shift : {0.0f, 0.6f, -0.6f})
    {
        gCamera.Reset();
        gCamera.ShiftFarFrameX(shift);
        player.mY = shift == 0.0f ? 1.0f : 0.4f;
        player.SetX(-1.0f);
        edges(left, right);
        EXPECT_GE(left, -0.5f) << "shift " << shift;
        EXPECT_LT(left, 1.5f) << "shift " << shift;
        player.SetX(2.0f);
        edges(left, right);
        EXPECT_LE(right, 800.5f) << "shift " << shift;
        EXPECT_GT(right, 798.5f) << "shift " << shift;
    }
}

TEST_F(PlayerTest, JumpRisesAndLandsOnTheFloor)
{
    const float startZ = player.mZ;
    Key(KEY_SPACE, true);
    Frame();
    ASSERT_EQ(1, player.mJumpState);
    EXPECT_TRUE(player.mAnimation.mSets[0].mStopped);
    EXPECT_LT(player.mY, 1.0f);

    float previous = player.mY;
    float highest = player.mY;
    float faintest = 1.0f, smallest = 2.0f;
    int frames = 1;
    bool rising = true;
    while (player.mJumpState == 1 && frames < 200)
    {
        // Space still held: no new jump, and pressing again in the air does nothing.
        if (frames == 5)
        {
            Key(KEY_SPACE, false);
            Key(KEY_SPACE, true);
            Frame();
        }
        else
            IdleFrame();
        ++frames;
        if (player.mVelocityY < 0.0f)
            EXPECT_LT(player.mY, previous);
        else if (player.mJumpState == 1)
        {
            rising = false;
            EXPECT_GE(player.mY, previous);
        }
        previous = player.mY;
        highest = std::min(highest, player.mY);
        // At the top of the jump the shadow is smaller and fainter, but still there.
        faintest = std::min(faintest, player.mShadow.mTint.mA);
        smallest = std::min(smallest, player.mShadow.mScale.mX);
    }
    EXPECT_FALSE(rising);
    EXPECT_EQ(0, player.mJumpState);
    EXPECT_EQ(1.0f, player.mY);
    EXPECT_GE(frames, 30);
    EXPECT_LE(frames, 36);
    EXPECT_LT(highest, 0.45f);
    EXPECT_GT(highest, 0.35f);
    EXPECT_FALSE(player.mAnimation.mSets[0].mStopped);
    EXPECT_FLOAT_EQ(startZ + frames, player.mZ);
    EXPECT_GT(faintest, 0.7f);
    EXPECT_LT(faintest, 0.9f);
    EXPECT_GT(smallest, 1.1f);
    // Back on the floor the shadow has its full size and strength.
    EXPECT_FLOAT_EQ(1.6f, player.mShadow.mScale.mX);
    EXPECT_FLOAT_EQ(1.0f, player.mShadow.mTint.mA);
    EXPECT_TRUE(player.mShadow.mTint.mEnabled);

    // Space is still held after landing: no new jump until it is pressed again.
    IdleFrame();
    EXPECT_EQ(0, player.mJumpState);
    Key(KEY_SPACE, false);
    Frame();
    Key(KEY_SPACE, true);
    Frame();
    EXPECT_EQ(1, player.mJumpState);
}

TEST_F(PlayerTest, HighLaunchStopsBelowTheCeiling)
{
    player.Launch(-0.6f, 0.0025f);
    Frame();
    EXPECT_FLOAT_EQ(0.1f, player.mY);
    EXPECT_EQ(0.0f, player.mVelocityY);
    int frames = 0;
    while (player.mJumpState == 1 && frames++ < 200)
    {
        EXPECT_GE(player.mY, 0.1f);
        Frame();
    }
    EXPECT_EQ(1.0f, player.mY);
}

TEST_F(PlayerTest, RecoversAfterAKnock)
{
    player.SetSpeed(-0.5f);
    EXPECT_EQ(2, player.mAnimation.mSets[0].mSpeed);
    player.mAccelerating = true;
    const float z = player.mZ;
    gKeyboardControl = false;
    Frame();
    EXPECT_FLOAT_EQ(z - 0.5f, player.mZ);
    EXPECT_NEAR(-0.49f, player.mSpeed, 1e-6);
    EXPECT_EQ(2, player.mAnimation.mSets[0].mSpeed);

    int frames = 1;
    while (player.mAccelerating && frames < 500)
    {
        Frame();
        ++frames;
        EXPECT_LE(player.mSpeed, 1.0f);
    }
    EXPECT_EQ(1.0f, player.mSpeed);
    EXPECT_GE(frames, 150);
    EXPECT_LE(frames, 152);
    EXPECT_EQ(5, player.mAnimation.mSets[0].mSpeed);

    // At exactly full speed nothing more happens and the flag stays.
    player.mAccelerating = true;
    Frame();
    EXPECT_TRUE(player.mAccelerating);
    EXPECT_EQ(1.0f, player.mSpeed);
}

TEST_F(PlayerTest, CheckpointSaveRespawnAndRestart)
{
    EXPECT_FALSE(player.RespawnAtCheckpoint());
    EXPECT_FLOAT_EQ(300.0f, player.mZ);

    Item* rock = new Item(0, false);
    gEntities.GetEntities().emplace_back(rock);
    gEntities.ResetWindow();

    player.mLevelStartScore = 5;
    player.mZ = 500.0f;
    player.mScore = 40;
    gEnvironment.gDragonDistance = 450.0f;
    player.SaveCheckpoint();
    EXPECT_TRUE(player.mItemUseBlocked);

    player.mZ = 700.0f;
    player.mScore = 90;
    player.mX = 0.2f;
    gEnvironment.gDragonDistance = 690.0f;
    rock->mAlive = false;
    rock->mSolid = false;
    ASSERT_TRUE(player.RespawnAtCheckpoint());
    EXPECT_FLOAT_EQ(495.0f, player.mZ);
    EXPECT_FLOAT_EQ(444.0f, gEnvironment.gDragonDistance);
    EXPECT_EQ(40, player.mScore);
    EXPECT_FLOAT_EQ(0.5f, player.mX);
    EXPECT_FALSE(player.mItemUseBlocked);
    EXPECT_TRUE(rock->mAlive && rock->mSolid);
    EXPECT_EQ(0u, gEntities.GetLastIndex());
    EXPECT_FALSE(player.IsCaught());
    gEnvironment.gDragonDistance = 495.0f;
    EXPECT_TRUE(player.IsCaught());

    // A restart forgets the checkpoint and goes back to the level's starting score.
    player.Restart();
    EXPECT_EQ(5, player.mScore);
    EXPECT_FLOAT_EQ(300.0f, player.mZ);
    player.mZ = 600.0f;
    EXPECT_FALSE(player.RespawnAtCheckpoint());
    EXPECT_FLOAT_EQ(600.0f, player.mZ);

    gEntities.Clear();
}

TEST_F(PlayerTest, ItemsArePickedUpUsedAndDropped)
{
    Item first(10, true), second(7, true), treasure(25, false);
    treasure.mVanishOnTouch = true;
    treasure.mOnScreen = true;

    player.TouchEntity(treasure);
    EXPECT_EQ(25, player.mScore);
    EXPECT_EQ(1, treasure.mTouches);
    EXPECT_FALSE(treasure.mOnScreen);

    player.TouchEntity(first);
    EXPECT_EQ(&first, player.mHeldItem);
    EXPECT_EQ(0, first.mTouches);
    EXPECT_EQ(25, player.mScore);

    // A second item replaces the first, which pays out its value at once.
    player.TouchEntity(second);
    EXPECT_EQ(&second, player.mHeldItem);
    EXPECT_EQ(35, player.mScore);

    // Used every frame while held, unless blocked or no control mode is on.
    second.mScoreValue = 0;
    IdleFrame();
    IdleFrame();
    EXPECT_EQ(2, second.mUses);
    EXPECT_EQ(1, player.mAnimation.mCurrentSet);
    player.mItemUseBlocked = true;
    IdleFrame();
    EXPECT_EQ(2, second.mUses);
    player.mItemUseBlocked = false;
    gKeyboardControl = false;
    IdleFrame();
    EXPECT_EQ(2, second.mUses);
    gKeyboardControl = true;

    // The item ends its use by clearing its holdable flag: the next frame lets go.
    second.mHoldable = false;
    IdleFrame();
    EXPECT_EQ(nullptr, player.mHeldItem);
    EXPECT_EQ(2, second.mUses);
}

// Level files set treasure values freely; two of 2000000000 must not wrap the score.
TEST_F(PlayerTest, ScoreStopsAtTheEndsOfItsRange)
{
    Player p;
    p.ClearScores();
    p.AddScore(2000000000);
    p.AddScore(2000000000);
    EXPECT_EQ(p.mScore, INT32_MAX);
    p.AddScore(-5);
    EXPECT_EQ(p.mScore, INT32_MAX - 5);
    p.ClearScores();
    p.AddScore(-2000000000);
    p.AddScore(-2000000000);
    EXPECT_EQ(p.mScore, INT32_MIN);
}
