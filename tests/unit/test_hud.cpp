#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Game/HUD.h"
#include "tests/support/HUD_Probe.h"
#include "World/Entity.h"

namespace
{
struct Test_Item : public Entity
{
    explicit Test_Item(int32_t value, const std::string& image = "ITEM")
    {
        mScoreValue = value;
        mModel.mSets.resize(1);
        mModel.mSets[0].mFrames.push_back(Animation_Frame(image));
    }
    void Setup() override {}
};

class HudTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mHit = false;
        mHud.Init();
    }
    // One frame of play with the dragon the given distance behind the runner: the
    // update, then the HUD drawn.
    HUD::Requests Frame(float gap, int32_t score = 0, Entity* item = nullptr)
    {
        HUD::Play_State play;
        play.score = score;
        play.heldItem = item;
        play.runnerX = 0.5f;
        play.runnerY = 1.0f;
        play.runnerHit = mHit;
        play.playerProgress = 0.5f;
        play.dragonProgress = 0.1f;
        play.playerDistance = 1000.0f;
        play.dragonDistance = 1000.0f - gap;
        const HUD::Requests requests = mHud.Update(play);
        mHud.ClawSeen();
        return requests;
    }
    // Runs a whole claw attack at a steady gap: 40 frames seen, and the next puts it away.
    void RunAttack(float gap)
    {
        for (int i = 0; i < 41; ++i)
            Frame(gap);
    }
    HUD mHud;
    bool mHit;
};
} // namespace

TEST_F(HudTest, PanicFollowsTheGap)
{
    Frame(300.0f);
    EXPECT_FLOAT_EQ(0.0f, mHud.Panic());
    Frame(0.0f);
    EXPECT_FLOAT_EQ(1.0f, mHud.Panic());
    EXPECT_FLOAT_EQ(0.0f, HUD_Probe::PreviousPanic(mHud));
    Frame(450.0f);
    EXPECT_NEAR(-0.5f, mHud.Panic(), 1e-5);
    Frame(150.0f);
    EXPECT_NEAR(0.5f, mHud.Panic(), 1e-5);
}

TEST_F(HudTest, ClawAttacksStartOnlyWhileTheDragonGains)
{
    Frame(100.0f); // panic 0.67: too far for a claw
    EXPECT_FALSE(HUD_Probe::Claw(mHud).mActive);
    // Hidden, the attack stands still.
    mHud.Hide();
    Frame(60.0f); // 0.8 and rising
    EXPECT_TRUE(HUD_Probe::Claw(mHud).mActive);
    EXPECT_EQ(1, HUD_Probe::Claw(mHud).mCount);
    EXPECT_EQ(0, HUD_Probe::Claw(mHud).mFrame);
    EXPECT_FALSE(HUD_Probe::Claw(mHud).mVoicePending);

    Frame(30.0f); // still rising, but an attack is under way
    EXPECT_EQ(1, HUD_Probe::Claw(mHud).mCount);
    EXPECT_EQ(0, HUD_Probe::Claw(mHud).mFrame);
    EXPECT_TRUE(mHud.IsStill());
    mHud.Show();
    // Behind the pause menu the world is drawn without play being updated: the attack
    // sweeps on all the same, so the menu may not stand a still copy in for it.
    EXPECT_FALSE(mHud.IsStill());
    for (int i = 0; i < 3; ++i)
        mHud.ClawSeen();
    EXPECT_EQ(3, HUD_Probe::Claw(mHud).mFrame);
    RunAttack(30.0f);
    EXPECT_FALSE(HUD_Probe::Claw(mHud).mActive);
    EXPECT_TRUE(mHud.IsStill());
    EXPECT_EQ(40, HUD_Probe::Claw(mHud).mFrame);

    Frame(30.0f); // steady
    Frame(50.0f); // falling
    EXPECT_FALSE(HUD_Probe::Claw(mHud).mActive);
    EXPECT_EQ(1, HUD_Probe::Claw(mHud).mCount);
}

TEST_F(HudTest, EveryAttackIsSeenAndEndsTheSixthIncluded)
{
    const char* expected[] = {"",
                              "DRAGON_CLAW",
                              "DRAGON_CLAW",
                              "DRAGON_CLAW_LEFTY",
                              "DRAGON_CLAW",
                              "DRAGON_CLAW",
                              "DRAGON_CLAW",
                              "DRAGON_CLAW"};
    float gap = 70.0f;
    for (int attack = 1; attack <= 7; ++attack)
    {
        const bool voiceBefore = HUD_Probe::Claw(mHud).mVoicePending;
        const HUD::Requests started = Frame(gap);
        gap -= 1.0f;
        const HUD::Requests next = Frame(gap);
        gap -= 1.0f;
        ASSERT_TRUE(HUD_Probe::Claw(mHud).mActive) << "attack " << attack;
        ASSERT_EQ(attack, HUD_Probe::Claw(mHud).mCount);
        // Only the first attack after Init and the one after the sixth speak.
        EXPECT_EQ(attack == 1 || attack == 7, voiceBefore) << "attack " << attack;
        EXPECT_EQ(voiceBefore, started.attackVoice) << "attack " << attack;
        // Each attack shakes the cave once, as it starts.
        EXPECT_GT(started.quakeFrames, 0) << "attack " << attack;
        EXPECT_EQ(0, next.quakeFrames) << "attack " << attack;
        EXPECT_FALSE(next.attackVoice);

        EXPECT_EQ(expected[attack], HUD_Probe::Claw(mHud).mImage.mKey) << "attack " << attack;
        EXPECT_FLOAT_EQ(attack == 3 ? -45.0f : 45.0f, HUD_Probe::Claw(mHud).mImage.mRotation.mAngle);
        for (int i = 1; i < 40; ++i)
            Frame(100.0f); // the dragon drops back while the claw sweeps on
        EXPECT_FALSE(HUD_Probe::Claw(mHud).mActive) << "attack " << attack << " never ended";
        gap = 70.0f;
        Frame(100.0f); // the dragon drops back before the next rise
    }

    // The left claw sweeps in from the left edge, the right one from the right.
    EXPECT_FLOAT_EQ(-1.1f, HUD::ClawPose(3, 0.0f).x);
    EXPECT_FLOAT_EQ(1.05f, HUD::ClawPose(6, 0.5f).x);
    const HUD::Claw_Pose ninth = HUD::ClawPose(9, 1.0f);
    EXPECT_STREQ("DRAGON_CLAW_LEFTY", ninth.image);
    EXPECT_FLOAT_EQ(-1.0f, ninth.x);
}

TEST_F(HudTest, PulseRunsOverItsPeriodAndStaysFiniteAtZero)
{
    Frame(150.0f); // panic 0.5: a 50-update pulse
    EXPECT_EQ(50, HUD_Probe::PulsePeriod(mHud));
    EXPECT_EQ(1, HUD_Probe::PulseCounter(mHud));
    EXPECT_FLOAT_EQ(1.02f, mHud.PulseScale());
    for (int i = 0; i < 49; ++i)
        Frame(150.0f);
    EXPECT_EQ(50, HUD_Probe::PulseCounter(mHud));
    EXPECT_FLOAT_EQ(2.0f, mHud.PulseScale());
    Frame(150.0f);
    EXPECT_EQ(0, HUD_Probe::PulseCounter(mHud));

    // Just short of a catch the period truncates to 0.
    Frame(1.5f);
    EXPECT_EQ(0, HUD_Probe::PulsePeriod(mHud));
    EXPECT_TRUE(std::isfinite(mHud.PulseScale()));
    EXPECT_FLOAT_EQ(1.0f, mHud.PulseScale());
    Frame(0.0f);
    EXPECT_FLOAT_EQ(1.0f, mHud.PulseScale());
    mHud.Draw(); // the "PANIC!" text is drawn with that scale
    EXPECT_FLOAT_EQ(1.0f, HUD_Probe::FontScale(mHud));
}

TEST_F(HudTest, AHitFlashesForFifteenFramesAndHoldsThePulse)
{
    Frame(150.0f);
    mHit = true;
    Frame(120.0f);
    mHit = false;
    EXPECT_FLOAT_EQ(14.0f, HUD_Probe::HurtTimer(mHud));
    // While red, a changing panic does not restart the pulse.
    const int period = HUD_Probe::PulsePeriod(mHud);
    Frame(110.0f);
    EXPECT_EQ(period, HUD_Probe::PulsePeriod(mHud));
    for (int i = 0; i < 13; ++i)
        Frame(110.0f);
    EXPECT_FLOAT_EQ(0.0f, HUD_Probe::HurtTimer(mHud));
    Frame(100.0f);
    EXPECT_NE(period, HUD_Probe::PulsePeriod(mHud));
}

TEST_F(HudTest, ScorePopupOnEveryChangeOnly)
{
    HUD_Probe::LastSeenScore(mHud) = 0;
    Frame(300.0f, 0);
    EXPECT_FLOAT_EQ(0.0f, HUD_Probe::ScorePopupTimer(mHud));
    Frame(300.0f, 25);
    EXPECT_FLOAT_EQ(199.0f, HUD_Probe::ScorePopupTimer(mHud));
    Frame(300.0f, 25);
    EXPECT_FLOAT_EQ(198.0f, HUD_Probe::ScorePopupTimer(mHud));
    Frame(300.0f, 10); // down counts too
    EXPECT_FLOAT_EQ(199.0f, HUD_Probe::ScorePopupTimer(mHud));

    // A level restart with the score unchanged shows nothing.
    mHud.Init();
    Frame(300.0f, 10);
    EXPECT_FLOAT_EQ(0.0f, HUD_Probe::ScorePopupTimer(mHud));
}

TEST_F(HudTest, ItemsFlyInOnceAndAreThrownWhenUsed)
{
    Test_Item bone(5, "BONE"), otherBone(5, "BONE_2"), dud(0);
    Frame(300.0f, 0, &bone);
    EXPECT_TRUE(HUD_Probe::Item(mHud).mShown);
    EXPECT_EQ("BONE", HUD_Probe::Item(mHud).mImage.mKey);
    EXPECT_FLOAT_EQ(0.5f, HUD_Probe::Item(mHud).mImage.mScale.mX);
    EXPECT_EQ(1, HUD_Probe::Item(mHud).mCounter);
    // Fly-in starts at the runner (middle of the floor) and heads for the slot.
    EXPECT_FLOAT_EQ(0.0f + (-0.29f - 0.0f) / 30.0f, HUD_Probe::Item(mHud).mCurrent[0]);
    for (int i = 0; i < 40; ++i)
        Frame(300.0f, 0, &bone);
    EXPECT_EQ(30, HUD_Probe::Item(mHud).mCounter);
    EXPECT_FLOAT_EQ(-0.29f, HUD_Probe::Item(mHud).mCurrent[0]);
    EXPECT_FLOAT_EQ(0.7f, HUD_Probe::Item(mHud).mCurrent[1]);

    // Meant, not a slip: the HUD tells items apart by their score value, so another item
    // of the same value does not fly in again.
    Frame(300.0f, 0, &otherBone);
    EXPECT_EQ(30, HUD_Probe::Item(mHud).mCounter);

    // Used up: thrown toward the viewer, spinning.
    Frame(300.0f, 0, nullptr);
    EXPECT_FALSE(HUD_Probe::Item(mHud).mShown);
    EXPECT_EQ(1, HUD_Probe::Item(mHud).mThrownCounter);
    EXPECT_EQ("BONE_2", HUD_Probe::Item(mHud).mThrownImage.mKey);
    for (int i = 0; i < 40; ++i)
        Frame(300.0f);
    EXPECT_EQ(30, HUD_Probe::Item(mHud).mThrownCounter);
    EXPECT_FLOAT_EQ(2.0f, HUD_Probe::Item(mHud).mThrownCurrent[2]);

    // An item worth 0 is not thrown.
    Frame(300.0f, 0, &dud);
    Frame(300.0f, 0, nullptr);
    EXPECT_EQ(30, HUD_Probe::Item(mHud).mThrownCounter);
}
