// The dragon's chase position and its voice banks.
#include "Core/Constants.h"
#include "World/Environment_Handler.h"

#include <gtest/gtest.h>

TEST(Environment, InitFillsTheFourBanksOnce)
{
    Environment_Handler env;
    EXPECT_TRUE(env.mEatingLines.empty());
    env.Init();
    env.Init();
    EXPECT_EQ(8u, env.mEatingLines.size());
    EXPECT_EQ(3u, env.mGiveUpLines.size());
    EXPECT_EQ(8u, env.mTauntLines.size());
    EXPECT_EQ(5u, env.mAttackLines.size());
    EXPECT_EQ(DRAGON_PATH + "Lunch_Time", env.mEatingLines[4]);
    EXPECT_EQ(DRAGON_PATH + "I_See_You_Thief.mp3", env.mTauntLines.front());
    EXPECT_EQ(DRAGON_PATH + "Get_Yo_Hands_Off.mp3", env.mTauntLines.back());
    EXPECT_EQ(DRAGON_PATH + "Breathing.mp3", env.mAttackLines.front());
    EXPECT_EQ(DRAGON_PATH + "Roar.mp3", env.mAttackLines.back());
    EXPECT_EQ(DRAGON_PATH + "Nooo_Ah_Forget_It.mp3", env.mGiveUpLines.back());
}

TEST(Environment, DragonGainsItsSpeedEachFrameUntilStopped)
{
    Environment_Handler env;
    env.gDragonDistance = 55.0f;
    env.mDragonSpeed = 3.0f;
    env.Reset();
    for (int i = 0; i < 10; ++i)
        env.Update();
    EXPECT_NEAR(8.0f, env.gDragonDistance, 1e-4f);

    env.Stop();
    env.Update();
    env.Update();
    EXPECT_NEAR(8.0f, env.gDragonDistance, 1e-4f);

    // A level reset brings the dragon back to the start at its normal pace.
    env.Reset();
    EXPECT_EQ(0.0f, env.gDragonDistance);
    env.Update();
    EXPECT_FLOAT_EQ(0.8f, env.gDragonDistance);
}
